#pragma once
// Section of the main window for receipt header and footer lines and customer-display lines.

#include "Section.h"

#include <QRect>

#include <array>

struct ReceiptLinesRecord;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class ReceiptLinesSection : public Section {
    Q_OBJECT
public:
    ReceiptLinesSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    // Clears the eight check boxes; each change disables the box's edit.
    void activate() override;

    // Read request 0x40.
    void btnReadClicheClick();
    // Write request 0x45 with all eight lines and their switches.
    void btnWriteClicheClick();

    // Run when a box changes state: its edit is enabled exactly while it is ticked.
    void chbFTopClick();
    void chbSTopClick();
    void chbFBottomClick();
    void chbSBottomClick();
    void chbLCD1_1Click();
    void chbLCD1_2Click();
    void chbLCD2_1Click();
    void chbLCD2_2Click();

    QGroupBox *GBKlishe = nullptr;
    QCheckBox *chbFTop = nullptr;
    QCheckBox *chbSTop = nullptr;
    QCheckBox *chbFBottom = nullptr;
    QCheckBox *chbSBottom = nullptr;
    QLabel *chbFTopLabel = nullptr;
    QLabel *chbSTopLabel = nullptr;
    QLabel *chbFBottomLabel = nullptr;
    QLabel *chbSBottomLabel = nullptr;
    QLineEdit *edtFTop = nullptr;
    QLineEdit *edtSTop = nullptr;
    QLineEdit *edtFBottom = nullptr;
    QLineEdit *edtSBottom = nullptr;
    QCheckBox *chbLCD1_1 = nullptr;
    QCheckBox *chbLCD1_2 = nullptr;
    QCheckBox *chbLCD2_1 = nullptr;
    QCheckBox *chbLCD2_2 = nullptr;
    QLabel *chbLCD1Label = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label20 = nullptr;
    QLineEdit *edtLCD1_1 = nullptr;
    QLineEdit *edtLCD1_2 = nullptr;
    QLineEdit *edtLCD2_1 = nullptr;
    QLineEdit *edtLCD2_2 = nullptr;
    QPushButton *btnReadCliche = nullptr;
    QPushButton *btnWriteCliche = nullptr;

private:
    // Reply 0x40: each box ticked as its switch says (running its behaviour on a change), each edit its text.
    void showRecord(const ReceiptLinesRecord &record);
    // Receipt lines 1..4, then display lines in frame order.
    std::array<QCheckBox *, 8> boxes() const;
    std::array<QLineEdit *, 8> edits() const;
};
