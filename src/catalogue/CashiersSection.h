#pragma once
// Section of the main window for the 64 cashier names and their read and write chains.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QWidget;

class CashiersSection : public Section {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x90;
    static constexpr uint8_t kWriteCode = 0x95;

    CashiersSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    void btnOReadClick();
    void btnOWriteClick();

    // Name shown in row i (0..63) of the grid.
    QString name(int row) const;

    QGroupBox *gbOperators = nullptr;
    QLabel *Label24 = nullptr;
    QLabel *Label25 = nullptr;
    QTableView *sgOperators = nullptr;
    QPushButton *btnORead = nullptr;
    QPushButton *btnOWrite = nullptr;

private:
    void readReply();
    void writeReply();
    // Empties the receive buffer and clears the cancel flag before a chain starts.
    void forgetBrokenOffReply();
    // Fills the write request for cashier k with `name`: false when the name is too short.
    bool putName(int k, const QString &name, int minimumBytes);
    void dataError();

    QStandardItemModel *model_ = nullptr;
    // The cashier whose name the running write chain sent last; 0 when no write is running.
    int lastWritten_ = 0;
};
