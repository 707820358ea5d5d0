#pragma once
// Section of the main window for the nine tax-group rates and their change counter.

#include "Section.h"

#include <QRect>

struct TaxGroupsRecord;
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
    TaxGroupsSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    // Read request 0x70.
    void btnTGReadClick();
    // Write request 0x75 (refused when a rate is outside 0..99.99).
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
    // Reply 0x70: the rates into the grid, the date and time of the last change, the changes left.
    void showRecord(const TaxGroupsRecord &record);
};
