#include "ProfileMenu.h"

#include "DataSet.h"
#include "DeviceLink.h"
#include "DialogQueue.h"
#include "LinkView.h"
#include "ProfileComparisonWindow.h"
#include "ProfileReportWindow.h"
#include "ProfileRun.h"
#include "ToolText.h"
#include "Transport.h"
#include "UiText.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

namespace {
using SetState = ProfileRun::SetState;
// How often a question that waits for the message dialog looks again.
constexpr int kDialogPollMs = 20;
} // namespace

ProfileMenu::ProfileMenu(SectionHost &host, QMenu &menu, DialogQueue &dialogs) : Section(host), dialogs_(dialogs)
{
    run_ = new ProfileRun(device(), this);
    connect(run_, &ProfileRun::stepStarted, this, &ProfileMenu::stepStarted);
    connect(run_, &ProfileRun::progress, this, &ProfileMenu::progressed);
    // Handled from the event loop, so that a question after the run is never asked inside a reply.
    connect(run_, &ProfileRun::finished, this, &ProfileMenu::finished, Qt::QueuedConnection);

    actBackup = menu.addAction(ToolText::profileMenuBackup(), this, &ProfileMenu::backupClick);
    actBackup->setObjectName("actProfileBackup");
    actCompare = menu.addAction(ToolText::profileMenuCompare(), this, &ProfileMenu::compareClick);
    actCompare->setObjectName("actProfileCompare");
    actRestore = menu.addAction(ToolText::profileMenuRestore(), this, &ProfileMenu::restoreClick);
    actRestore->setObjectName("actProfileRestore");

    host.window()->installEventFilter(this);
    // The window's own question about leaving during a set's transfer was answered yes: the run
    // ends with it.
    connect(&link(), &DeviceLink::chainEnded, this, [this](DeviceLink::Chain, DeviceLink::ChainEnd how) {
        if (how == DeviceLink::ChainEnd::Abandoned && running()) {
            leaveAnswered_ = true;
            leaving_ = true;
            run_->cancel();
        }
    });
}

// The progress and result windows are made when first needed: most sessions never open them, and
// the main window comes up sooner without them.
QProgressDialog &ProfileMenu::progressDialog()
{
    if (!progress_) {
        progress_ = new QProgressDialog(host().window());
        progress_->setObjectName("profileProgress");
        progress_->setWindowTitle(ToolText::profileProgressCaption());
        progress_->setWindowModality(Qt::NonModal);
        progress_->setCancelButtonText(ToolText::profileCancel());
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setMinimumDuration(0);
        progress_->setMinimumWidth(360);
        // A progress dialog shows itself a few seconds after it is made unless it is reset.
        progress_->reset();
        progress_->hide();
        connect(progress_, &QProgressDialog::canceled, this, &ProfileMenu::cancelClick);
    }
    return *progress_;
}

ProfileComparisonWindow &ProfileMenu::comparisonWindow()
{
    if (!comparison_)
        comparison_ = new ProfileComparisonWindow(view(), host().window());
    return *comparison_;
}

ProfileReportWindow &ProfileMenu::reportWindow()
{
    if (!report_)
        report_ = new ProfileReportWindow(host().window());
    return *report_;
}

ProfileMenu::~ProfileMenu()
{
    if (QWidget *window = host().window())
        window->removeEventFilter(this);
}

bool ProfileMenu::running() const
{
    return job_ != Job::None;
}

bool ProfileMenu::refuseToStart()
{
    if (running()) {
        view().showDialog(UiText(Txt::TitleWarning), ToolText::profileRunGoing());
        return true;
    }
    if (link().refuseWhileBusy())
        return true;
    const Transport *t = link().transport();
    if (!t || !t->isOpen()) {
        showError(ToolText::profileNotConnected());
        return true;
    }
    return refuseOutsideServiceMode();
}

QString ProfileMenu::chooseFile(FileUse use)
{
    if (chooser_)
        return chooser_(use);
    const QString filter = ToolText::profileFileFilter();
    switch (use) {
    case FileUse::Backup: {
        const QString suggested =
            QStringLiteral("profil-%1.%2")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")), Profile::kExtension);
        return QFileDialog::getSaveFileName(host().window(), ToolText::profileSaveCaption(), suggested, filter);
    }
    case FileUse::Compare:
        return QFileDialog::getOpenFileName(host().window(), ToolText::profileOpenCompareCaption(), QString(), filter);
    case FileUse::Restore:
        return QFileDialog::getOpenFileName(host().window(), ToolText::profileOpenRestoreCaption(), QString(), filter);
    }
    return {};
}

bool ProfileMenu::readProfile(const QString &path, Profile &profile)
{
    QString error;
    if (ProfileFile::read(path, profile, error))
        return true;
    // The reader's words name the file and what is wrong with it.
    showError(error);
    return false;
}

void ProfileMenu::backupClick()
{
    if (refuseToStart())
        return;
    QString path = chooseFile(FileUse::Backup);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(Profile::kExtension);
    path_ = path;
    start(Job::Backup);
    run_->backup();
}

void ProfileMenu::compareClick()
{
    if (refuseToStart())
        return;
    const QString path = chooseFile(FileUse::Compare);
    if (path.isEmpty())
        return;
    Profile profile;
    if (!readProfile(path, profile))
        return;
    path_ = path;
    saved_ = profile;
    start(Job::Compare);
    run_->compare(saved_);
}

void ProfileMenu::restoreClick()
{
    if (refuseToStart())
        return;
    const QString path = chooseFile(FileUse::Restore);
    if (path.isEmpty())
        return;
    Profile profile;
    if (!readProfile(path, profile))
        return;
    path_ = path;
    saved_ = profile;
    start(Job::Prepare);
    run_->prepareRestore(saved_);
}

void ProfileMenu::cancelClick()
{
    if (running())
        run_->cancel();
}

void ProfileMenu::start(Job job)
{
    job_ = job;
    leaving_ = false;
    leaveAnswered_ = false;
    for (QAction *a : {actBackup, actCompare, actRestore})
        a->setEnabled(false);
    holdControls();
    dialogs_.setMessagesMuted(true);
    progressDialog().reset();
    progressDialog().setRange(0, 1);
    progressDialog().setValue(0);
    progressDialog().setLabelText(job == Job::Prepare ? ToolText::profileStepPreparing() : QString());
    progressDialog().show();
    view().setStatusText(UiText(Txt::PleaseWait));
}

void ProfileMenu::stepStarted(const QString &set, const QString &what)
{
    const QString text = ToolText::profileStepLabel(what, ToolText::profileSetTitle(set));
    progressDialog().setLabelText(text);
    view().setStatusText(text);
}

void ProfileMenu::progressed(int done, int total)
{
    if (total <= 0)
        return;
    if (progressDialog().maximum() != total)
        progressDialog().setMaximum(total);
    progressDialog().setValue(std::clamp(done, 0, total));
}

void ProfileMenu::finished(const OpResult &result)
{
    if (!running())
        return;
    const Job job = job_;
    job_ = Job::None;
    dialogs_.setMessagesMuted(false);
    releaseControls();
    progressDialog().reset();
    progressDialog().hide();
    for (QAction *a : {actBackup, actCompare, actRestore})
        a->setEnabled(true);
    view().setStatusText(UiText(Txt::InServiceMode));
    // The window is closing: nothing more to say.
    if (leaving_)
        return;
    switch (job) {
    case Job::Backup:
        backupFinished(result);
        break;
    case Job::Compare:
        compareFinished(result);
        break;
    case Job::Prepare:
        prepareFinished(result);
        break;
    case Job::Restore:
        restoreFinished(result);
        break;
    case Job::None:
        break;
    }
}

QString ProfileMenu::failedSet() const
{
    for (SetState wanted : {SetState::Failed, SetState::HalfWritten})
        for (const ProfileRun::SetOutcome &o : run_->outcomes())
            if (o.state == wanted)
                return ToolText::profileSetTitle(o.set);
    return {};
}

QString ProfileMenu::faultReason(const OpResult &result) const
{
    for (const ProfileRun::SetOutcome &o : run_->outcomes())
        if (o.state == SetState::Failed && !o.message.isEmpty())
            return o.message;
    if (!result.message.isEmpty())
        return result.message;
    switch (result.kind) {
    case OpResult::Kind::NoAnswer:
        return UiText(Txt::NoAnswer);
    case OpResult::Kind::ConnectionLost:
        return ToolText::ConnectionLost();
    default:
        return ToolText::profileFaultUnnamed();
    }
}

void ProfileMenu::saveBackup(const Profile &profile)
{
    QString path = path_;
    for (;;) {
        QString error;
        if (ProfileFile::write(profile, path, error)) {
            const int sets = int(profile.sets.size());
            view().showDialog(UiText(Txt::TitleInfo), profile.complete ? ToolText::profileSaved(path, sets)
                                                                       : ToolText::profileSavedIncomplete(path, sets));
            return;
        }
        // What was read is not thrown away because one file could not be written: another name is asked for.
        showError(ToolText::profileNotSaved(path, error));
        path = chooseFile(FileUse::Backup);
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1Char('.') + QLatin1String(Profile::kExtension);
    }
}

void ProfileMenu::backupFinished(const OpResult &result)
{
    if (result.ok()) {
        saveBackup(run_->profile());
        return;
    }
    if (result.kind == OpResult::Kind::Cancelled) {
        view().showDialog(UiText(Txt::TitleInfo), ToolText::profileBackupCancelled());
        return;
    }
    Profile partial = run_->profile();
    partial.complete = false;
    const int total = run_->outcomes().empty() ? int(allDataSets().size()) - 1 : int(run_->outcomes().size());
    const QString question =
        ToolText::profileBackupFaultQuestion(failedSet(), faultReason(result), int(partial.sets.size()), total);
    whenDialogFree([this, partial, question] {
        if (view().showDialog(UiText(Txt::TitleError), question, true) == 1)
            saveBackup(partial);
    });
}

void ProfileMenu::compareFinished(const OpResult &result)
{
    const bool showTable = result.ok() || !run_->comparison().sets.empty();
    if (result.kind == OpResult::Kind::Cancelled)
        view().showDialog(UiText(Txt::TitleInfo), ToolText::profileCompareCancelled());
    else if (!result.ok())
        showError(ToolText::profileCompareFault(failedSet(), faultReason(result)));
    if (!showTable || result.kind == OpResult::Kind::Cancelled)
        return;
    comparisonWindow().setComparison(run_->comparison(), path_, saved_.taken);
    comparisonWindow().show();
    comparisonWindow().raise();
}

void ProfileMenu::prepareFinished(const OpResult &result)
{
    if (!result.ok()) {
        if (result.kind != OpResult::Kind::Cancelled)
            showError(ToolText::profilePrepareFailed(faultReason(result)));
        return;
    }
    const QString question = run_->plan().question();
    whenDialogFree([this, question] {
        if (view().showDialog(UiText(Txt::TitleWarning), question, true) != 1) {
            view().showDialog(UiText(Txt::TitleInfo), ToolText::profileRestoreNotConfirmed());
            return;
        }
        // The connection may have gone while the question was open.
        if (refuseToStart())
            return;
        start(Job::Restore);
        run_->restore(true);
    });
}

void ProfileMenu::restoreFinished(const OpResult &result)
{
    bool broken = false, mismatch = false;
    for (const ProfileRun::SetOutcome &o : run_->outcomes()) {
        broken = broken || o.state == SetState::Failed || o.state == SetState::HalfWritten;
        mismatch = mismatch || o.state == SetState::Mismatch;
    }
    QString headline = ToolText::profileRestoreDone();
    if (result.kind == OpResult::Kind::Cancelled)
        headline = ToolText::profileRestoreCancelled();
    else if (broken || (!result.ok() && !mismatch))
        headline = ToolText::profileRestoreBroken();
    else if (mismatch || !result.ok())
        headline = ToolText::profileRestoreMismatch();
    reportWindow().showReport(headline, run_->outcomes(), run_->report(), headline != ToolText::profileRestoreDone());
}

void ProfileMenu::holdControls()
{
    held_.clear();
    for (const QString &name : DeviceLink::deviceOperationControls()) {
        QWidget *w = host().window()->findChild<QWidget *>(name);
        if (!w)
            continue;
        held_.insert(name, view().controlEnabled(name));
        w->installEventFilter(this);
    }
    holding_ = true;
    adjusting_ = true;
    view().setControlsEnabled(held_.keys(), false);
    adjusting_ = false;
}

void ProfileMenu::releaseControls()
{
    holding_ = false;
    QStringList back;
    for (auto it = held_.cbegin(); it != held_.cend(); ++it)
        if (it.value())
            back << it.key();
    held_.clear();
    link().setControlsEnabled(back, true);
}

void ProfileMenu::whenDialogFree(std::function<void()> then)
{
    if (dialogs_.isOpen() || dialogs_.waiting() > 0) {
        QTimer::singleShot(kDialogPollMs, this, [this, then = std::move(then)]() mutable { whenDialogFree(then); });
        return;
    }
    then();
}

bool ProfileMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && holding_ && !adjusting_) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && held_.contains(w->objectName())) {
            // A set's reply enabled its own write button: it comes back when the run ends.
            const bool on = !w->testAttribute(Qt::WA_ForceDisabled);
            held_[w->objectName()] = on;
            if (on) {
                adjusting_ = true;
                w->setEnabled(false);
                adjusting_ = false;
            }
        }
        return false;
    }
    if (watched == host().window() && event->type() == QEvent::Close && running()) {
        // During a set's own transfer the window asks, as during any transfer.
        if (link().busy())
            return false;
        if (!leaveAnswered_ &&
            view().showDialog(UiText(Txt::TitleWarning), ToolText::exitDuringTransfer(), true) != 1) {
            event->ignore();
            return true;
        }
        leaving_ = true;
        run_->cancel();
        return false;
    }
    return Section::eventFilter(watched, event);
}
