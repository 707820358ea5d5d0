#pragma once
// The one modal message box: a title line, a text and "У РЕДУ" (optionally "ОТКАЗ").

#include <QDialog>
#include <QTextEdit>

#include <functional>

class QLabel;
class QPushButton;

class TDialog : public QDialog {
    Q_OBJECT
public:
    explicit TDialog(QWidget *parent = nullptr);

    QLabel *Naslov = nullptr;
    QTextEdit *tekst = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

    bool twoButtons() const { return twoButtons_; }
    void setTwoButtons(bool on) { twoButtons_ = on; }
    int dialogResult() const { return dialogResult_; }

    // Sets title and text and shows the dialog modally; returns the dialog result.
    int ask(const QString &title, const QString &text, bool twoButtons = false);

    // For automated runs: when set, exec() calls this instead of waiting for a user,
    // and its return value (1 or 0) becomes the dialog result.
    void setResponder(std::function<int(TDialog &)> responder) { responder_ = std::move(responder); }

    int exec() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    // Tightens the line spacing so that three lines fit the text box whole.
    void fitLinesToTextBox();
    void Button1Click();
    void Button2Click();

    bool twoButtons_ = false;
    int dialogResult_ = 0;
    std::function<int(TDialog &)> responder_;
};
