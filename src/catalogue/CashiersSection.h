#pragma once
// Section of the main window for the 64 cashier names and their read and write chains.

#include "Section.h"

#include <QRect>

class CashierRecord;
class QGroupBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QWidget;

class CashiersSection : public Section {
    Q_OBJECT
public:
    CashiersSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    // Read chain 0x90, cashier 1 to 64.
    void btnOReadClick();
    // Write chain 0x95 of the grid's names.
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
    // Reply 0x90: the name into its row (a cashier without a name keeps the row's text).
    void showCashier(const CashierRecord &record);
    void readStepEnded();
    void writeStepStarting(int number);

    QStandardItemModel *model_ = nullptr;
};
