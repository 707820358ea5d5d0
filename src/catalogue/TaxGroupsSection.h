#pragma once
// Section of the main window for the nine tax-group rates and their change counter.

#include "Section.h"

#include <QRect>

class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTimeEdit;
class QWidget;

class TaxGroupsSection : public Section {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x70;
    static constexpr uint8_t kWriteCode = 0x75;

    TaxGroupsSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    void btnTGReadClick();
    void btnTGWriteClick();

    // Grid cell (c, r): r = 0 is the heading row, r = 1..9 the groups in letter order.
    QString cell(int c, int r) const;
    void setCell(int c, int r, const QString &text);

    QGroupBox *gbTaxGroups = nullptr;
    QTableView *sgTaxGroups = nullptr;
    QStandardItemModel *taxModel = nullptr;
    QLabel *lblTGTime = nullptr;
    QTimeEdit *dtpTGTime = nullptr;
    QLabel *lblTGDate = nullptr;
    QDateEdit *dtpTaxGroups = nullptr;
    QPushButton *btnTGRead = nullptr;
    QPushButton *btnTGWrite = nullptr;

private:
    void onReadReply();
};
