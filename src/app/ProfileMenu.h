#pragma once
// The main window's Profile menu: backs up, compares and restores the whole device with one progress.

#include "OpResult.h"
#include "Profile.h"
#include "Section.h"

#include <QHash>
#include <QString>

#include <functional>

class DialogQueue;
class ProfileComparisonWindow;
class ProfileReportWindow;
class ProfileRun;
class QAction;
class QMenu;
class QProgressDialog;

class ProfileMenu : public Section {
    Q_OBJECT
public:
    // What a file is asked for.
    enum class FileUse { Backup, Compare, Restore };
    // Gives the file name for a use; an empty name cancels.
    using FileChooser = std::function<QString(FileUse use)>;

    ProfileMenu(SectionHost &host, QMenu &menu, DialogQueue &dialogs);
    ~ProfileMenu() override;

    // The menu items' handlers.
    void backupClick();
    void compareClick();
    void restoreClick();
    // The progress window's Cancel: breaks the running run off.
    void cancelClick();

    bool running() const;
    ProfileRun &run() { return *run_; }
    QProgressDialog &progressDialog();
    ProfileComparisonWindow &comparisonWindow();
    ProfileReportWindow &reportWindow();

    // For automated runs: file names come from `chooser` instead of the file dialogs.
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    QAction *actBackup = nullptr;
    QAction *actCompare = nullptr;
    QAction *actRestore = nullptr;

protected:
    // Closing the window while a run goes asks first; controls enabled by a set's reply while a
    // run goes stay disabled until the run ends.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Job { None, Backup, Compare, Prepare, Restore };

    // The checks before any run: no other run or transfer, a connection, service mode. True when refused.
    bool refuseToStart();
    QString chooseFile(FileUse use);
    // Reads a profile file; false, with the refusal shown, when it cannot be taken.
    bool readProfile(const QString &path, Profile &profile);

    void start(Job job);
    void stepStarted(const QString &set, const QString &what);
    void progressed(int done, int total);
    void finished(const OpResult &result);
    void backupFinished(const OpResult &result);
    void compareFinished(const OpResult &result);
    void prepareFinished(const OpResult &result);
    void restoreFinished(const OpResult &result);
    // The set a run stopped at, and in which words.
    QString failedSet() const;
    QString faultReason(const OpResult &result) const;
    void saveBackup(const Profile &profile);

    // Holds the device-operation controls disabled for the whole run, and gives them back.
    void holdControls();
    void releaseControls();
    // Runs `then` once the message dialog is free: a question asked while a message is open or
    // waiting would not be asked at all.
    void whenDialogFree(std::function<void()> then);

    DialogQueue &dialogs_;
    ProfileRun *run_ = nullptr;
    QProgressDialog *progress_ = nullptr;
    ProfileComparisonWindow *comparison_ = nullptr;
    ProfileReportWindow *report_ = nullptr;
    FileChooser chooser_;

    Job job_ = Job::None;
    QString path_;  // the file the running run reads or writes
    Profile saved_; // the profile being compared or restored
    bool leaving_ = false;
    // The window's own question about leaving was answered yes while a set's transfer ran.
    bool leaveAnswered_ = false;
    bool holding_ = false;
    bool adjusting_ = false;
    // Controls held disabled, with the state each takes back when the run ends.
    QHash<QString, bool> held_;
};
