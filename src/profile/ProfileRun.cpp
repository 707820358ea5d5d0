#include "ProfileRun.h"

#include "ArticleDataSet.h"
#include "ArticleTable.h"
#include "Device.h"
#include "DeviceLink.h"
#include "ToolText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

namespace {

using Kind = OpResult::Kind;

const QString kFiscal = QStringLiteral("fiscal");
const QString kClock = QStringLiteral("clock");
const QString kArticles = QStringLiteral("articles");
const QString kTaxGroups = QStringLiteral("taxgroups");

// Sets whose write is one request that changes something: a refusal there wrote nothing.
bool singleWrite(const QString &set)
{
    return set == QStringLiteral("taxpayer") || set == QStringLiteral("lines") || set == kTaxGroups ||
           set == QStringLiteral("departments");
}

// Frames a set's write sends before the first one that changes anything (the tax groups read first).
int framesBeforeWriting(const QString &set)
{
    return set == kTaxGroups ? 1 : 0;
}

// The articles of `set` (the set's JSON) within from..to.
QJsonObject articlesWithin(const QJsonValue &set, int from, int to)
{
    QJsonArray within;
    for (const QJsonValue &v : set.toObject().value(kArticles).toArray()) {
        const auto n = v.toObject().value(QStringLiteral("number")).toInteger();
        if (n >= from && n <= to)
            within.append(v);
    }
    return QJsonObject{{kArticles, within}};
}

// The comparison of one set alone.
SetComparison compareSet(const QString &set, const QJsonValue &saved, const QJsonValue &device)
{
    Profile a, b;
    a.sets.insert(set, saved);
    b.sets.insert(set, device);
    const ProfileComparison c = compareProfiles(a, b);
    return c.sets.empty() ? SetComparison{} : c.sets.front();
}

QString tool()
{
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? name : name + QLatin1Char(' ') + version;
}

} // namespace

QString ProfileRun::RestorePlan::question() const
{
    QStringList lines;
    if (clone)
        lines << ToolText::profileCloneQuestion(profileIdentity, deviceIdentity);
    lines << ToolText::profileRestoreSets(sets.join(QStringLiteral(", ")));
    if (taxGroupsDiffer && sets.contains(kTaxGroups))
        lines << ToolText::profileTaxGroupsChange(taxRateChangesLeft);
    lines << notes;
    lines << ToolText::profileRestoreAsk();
    return lines.join(QLatin1Char('\n'));
}

ProfileRun::ProfileRun(Device &device, QObject *parent) : QObject(parent), device_(device) {}

bool ProfileRun::begin(Mode mode, int weight)
{
    if (running_) {
        QTimer::singleShot(0, this,
                           [this] { emit finished(OpResult::failed(Kind::NotSent, ToolText::profileBusy())); });
        return false;
    }
    mode_ = mode;
    running_ = true;
    cancelled_ = false;
    done_ = 0;
    total_ = std::max(weight, 1);
    soft_ = OpResult::done();
    emit progress(0, total_);
    return true;
}

void ProfileRun::end(const OpResult &result)
{
    if (!running_)
        return;
    running_ = false;
    if (result.ok())
        emit progress(total_, total_);
    const OpResult out = cancelled_ && result.kind != Kind::Cancelled ? OpResult::failed(Kind::Cancelled) : result;
    emit finished(out);
}

DataSet::Progress ProfileRun::stepProgress(int weight)
{
    const int base = done_;
    return [this, base, weight](int done, int total) {
        if (total > 0)
            emit progress(base + int(qint64(std::clamp(done, 0, total)) * weight / total), total_);
    };
}

void ProfileRun::stepDone(int weight)
{
    done_ = std::min(done_ + weight, total_);
    emit progress(done_, total_);
}

ProfileRun::SetOutcome &ProfileRun::outcome(const QString &set)
{
    for (SetOutcome &o : outcomes_)
        if (o.set == set)
            return o;
    outcomes_.push_back({set, SetState::NotStarted, {}});
    return outcomes_.back();
}

void ProfileRun::cancel()
{
    if (!running_ || cancelled_)
        return;
    cancelled_ = true;
    // A chain is broken off at once; a single request in flight is let come back, so that the run
    // never stops with the device's answer still on its way.
    if (device_.link().busy())
        device_.link().BtnOtkazClick();
}

// ---- Backup and compare: reading sets one after another ----

void ProfileRun::backup()
{
    std::vector<const DataSet *> sets;
    int weight = 0;
    for (const DataSet *set : allDataSets())
        if (set->name() != kClock) {
            sets.push_back(set);
            weight += set->readFrames();
        }
    if (!begin(Mode::Backup, weight))
        return;
    queue_ = sets;
    profile_ = Profile();
    profile_.toolVersion = tool();
    profile_.taken = QDateTime::currentDateTimeUtc();
    profile_.factoryNumber = device_.factoryNumber();
    profile_.complete = false;
    outcomes_.clear();
    for (const DataSet *set : sets)
        outcomes_.push_back({set->name(), SetState::NotStarted, {}});
    readNext(0);
}

void ProfileRun::compare(const Profile &saved)
{
    std::vector<const DataSet *> sets;
    int weight = 0;
    for (const DataSet *set : allDataSets()) {
        const QString name = set->name();
        // The identity only for the note about another printer; the clock is never in a profile.
        if (name == kClock || (name != kFiscal && (!set->writable() || !saved.has(name))))
            continue;
        sets.push_back(set);
        weight += set->readFrames();
    }
    if (!begin(Mode::Compare, weight))
        return;
    saved_ = saved;
    queue_ = sets;
    profile_ = Profile();
    profile_.taken = QDateTime::currentDateTimeUtc();
    profile_.factoryNumber = device_.factoryNumber();
    comparison_ = ProfileComparison();
    outcomes_.clear();
    for (const DataSet *set : sets)
        outcomes_.push_back({set->name(), SetState::NotStarted, {}});
    readNext(0);
}

void ProfileRun::readNext(size_t index)
{
    if (cancelled_)
        return end(OpResult::failed(Kind::Cancelled));
    if (index >= queue_.size()) {
        profile_.complete = true;
        if (mode_ == Mode::Compare)
            comparison_ = compareProfiles(saved_, profile_);
        return end(OpResult::done());
    }
    const DataSet *set = queue_[index];
    const int weight = set->readFrames();
    emit stepStarted(set->name(), ToolText::profileStepReading());
    set->read(
        device_, stepProgress(weight), [this, index, set, weight](const OpResult &result, const QJsonValue &data) {
            SetOutcome &o = outcome(set->name());
            if (!result.ok()) {
                o.state = SetState::Failed;
                o.message = result.message;
                if (mode_ == Mode::Compare)
                    comparison_ = compareProfiles(saved_, profile_);
                return end(OpResult::failed(result.kind, ToolText::profileReadFailed(set->name(), result.message)));
            }
            o.state = SetState::Read;
            profile_.sets.insert(set->name(), data);
            stepDone(weight);
            readNext(index + 1);
        });
}

// ---- Restore: the plan, then the writes ----

void ProfileRun::prepareRestore(const Profile &saved, const QStringList &only)
{
    if (!begin(Mode::Prepare, findDataSet(kFiscal)->readFrames() + findDataSet(kTaxGroups)->readFrames()))
        return;
    saved_ = saved;
    prepared_ = false;
    plan_ = RestorePlan();
    leftOut_.clear();
    outcomes_.clear();
    plan_.profileIdentity = saved.identity();
    const auto invalid = [this](const QString &message) {
        QTimer::singleShot(0, this, [this, message] { end(OpResult::failed(Kind::Invalid, message)); });
    };
    for (const QString &name : only) {
        const DataSet *set = findDataSet(name);
        if (!set)
            return invalid(ToolText::profileUnknownSetName(name));
        if (!set->writable() || name == kClock)
            return invalid(ToolText::profileSetNotRestored(name));
        if (!saved.has(name))
            return invalid(ToolText::profileSetNotInProfile(name));
    }
    for (const DataSet *set : allDataSets()) {
        const QString name = set->name();
        if (set->writable() && name != kClock && saved.has(name) && (only.isEmpty() || only.contains(name)))
            plan_.sets << name;
    }
    if (plan_.sets.isEmpty())
        return invalid(ToolText::profileNothingToRestore());
    prepareNext();
}

void ProfileRun::prepareNext()
{
    // First the identity of the connected printer, then (when they are to be written) its tax rates.
    const DataSet *fiscal = findDataSet(kFiscal);
    emit stepStarted(kFiscal, ToolText::profileStepReading());
    fiscal->read(
        device_, stepProgress(fiscal->readFrames()), [this, fiscal](const OpResult &result, const QJsonValue &data) {
            if (!result.ok())
                return end(OpResult::failed(result.kind, ToolText::profileReadFailed(kFiscal, result.message)));
            stepDone(fiscal->readFrames());
            Profile device;
            device.sets.insert(kFiscal, data);
            plan_.deviceIdentity = device.identity();
            plan_.clone = !plan_.profileIdentity.isEmpty() && plan_.deviceIdentity != plan_.profileIdentity;
            if (!plan_.sets.contains(kTaxGroups)) {
                prepared_ = true;
                return end(OpResult::done());
            }
            const DataSet *taxGroups = findDataSet(kTaxGroups);
            emit stepStarted(kTaxGroups, ToolText::profileStepReading());
            taxGroups->read(
                device_, stepProgress(taxGroups->readFrames()), [this](const OpResult &read, const QJsonValue &now) {
                    if (!read.ok())
                        return end(OpResult::failed(read.kind, ToolText::profileReadFailed(kTaxGroups, read.message)));
                    plan_.taxRateChangesLeft = int(now.toObject().value("remainingChanges").toInteger(-1));
                    const SetComparison c = compareSet(kTaxGroups, saved_.sets.value(kTaxGroups), now);
                    plan_.taxGroupsDiffer = c.state == SetComparison::State::Different;
                    if (!plan_.taxGroupsDiffer) {
                        plan_.sets.removeAll(kTaxGroups);
                        plan_.notes << ToolText::profileTaxGroupsEqual();
                        leftOut_.push_back({kTaxGroups, SetState::Unchanged, ToolText::profileTaxGroupsEqual()});
                    } else if (plan_.taxRateChangesLeft == 0) {
                        plan_.sets.removeAll(kTaxGroups);
                        plan_.notes << ToolText::profileTaxGroupsNoChangeLeft();
                        leftOut_.push_back({kTaxGroups, SetState::Skipped, ToolText::profileTaxGroupsNoChangeLeft()});
                    }
                    prepared_ = true;
                    end(OpResult::done());
                });
        });
}

void ProfileRun::restore(bool verify)
{
    if (running_ || !prepared_) {
        if (!running_)
            QTimer::singleShot(
                0, this, [this] { emit finished(OpResult::failed(Kind::Invalid, ToolText::profileNotPrepared())); });
        else
            begin(Mode::Restore, 0); // says that a run is going on
        return;
    }
    int weight = 0;
    for (const QString &name : plan_.sets) {
        const DataSet *set = findDataSet(name);
        weight += name == kArticles ? set->readFrames() : set->writeFrames() + (verify ? set->readFrames() : 0);
    }
    if (!begin(Mode::Restore, weight))
        return;
    // A plan is good for one restore: the device has changed after it.
    prepared_ = false;
    verify_ = verify;
    stoppedByFault_ = false;
    outcomes_.clear();
    for (const QString &name : plan_.sets)
        outcomes_.push_back({name, SetState::NotStarted, {}});
    for (const SetOutcome &o : leftOut_)
        outcome(o.set) = o;
    restoreNext(0);
}

void ProfileRun::restoreNext(size_t index)
{
    if (cancelled_)
        return end(OpResult::failed(Kind::Cancelled));
    if (index >= size_t(plan_.sets.size()))
        return end(soft_);
    const QString name = plan_.sets[qsizetype(index)];
    if (name == kArticles)
        return restoreArticles(index);
    const DataSet *set = findDataSet(name);
    emit stepStarted(name, ToolText::profileStepWriting());
    auto frames = std::make_shared<int>(0);
    auto counter = std::make_shared<QMetaObject::Connection>(
        connect(&device_.link(), &DeviceLink::frameSent, this, [frames](const QByteArray &) { ++*frames; }));
    set->write(device_, saved_.sets.value(name), stepProgress(set->writeFrames()),
               [this, index, frames, counter](const OpResult &result) {
                   disconnect(*counter);
                   afterWrite(index, result, *frames);
               });
}

void ProfileRun::restoreArticles(size_t index)
{
    // Only the articles that differ from the device's table are written, one chain per block.
    emit stepStarted(kArticles, ToolText::profileStepReading());
    const int readWeight = findDataSet(kArticles)->readFrames();
    readArticleRange(
        device_, 1, ArticleTable::kArticles, stepProgress(readWeight),
        [this, index, readWeight](const OpResult &read, const QJsonValue &table) {
            SetOutcome &o = outcome(kArticles);
            if (!read.ok()) {
                o.state = SetState::Failed;
                o.message = read.message;
                stoppedByFault_ = true;
                return end(OpResult::failed(read.kind, ToolText::profileReadFailed(kArticles, read.message)));
            }
            stepDone(readWeight);
            if (cancelled_)
                return end(OpResult::failed(Kind::Cancelled));
            const SetComparison c = compareSet(kArticles, saved_.sets.value(kArticles), table);
            if (c.articleNumbers.empty()) {
                o.state = SetState::Unchanged;
                return restoreNext(index + 1);
            }
            const auto blocks = std::make_shared<std::vector<std::pair<int, int>>>(articleBlocks(c.articleNumbers));
            const int count = int(c.articleNumbers.size());
            writtenBlocks_ = blocks;
            total_ += count * (verify_ ? 2 : 1);
            emit stepStarted(kArticles, ToolText::profileStepWriting());
            auto frames = std::make_shared<int>(0);
            auto counter = std::make_shared<QMetaObject::Connection>(
                connect(&device_.link(), &DeviceLink::frameSent, this, [frames](const QByteArray &) { ++*frames; }));
            writeArticleBlocks(device_, saved_.sets.value(kArticles), *blocks, stepProgress(count),
                               [this, index, frames, counter, blocks, count](const OpResult &result) {
                                   disconnect(*counter);
                                   if (result.ok())
                                       stepDone(count);
                                   afterWrite(index, result, *frames);
                               });
        });
}

void ProfileRun::afterWrite(size_t index, const OpResult &result, int framesSent)
{
    const QString name = plan_.sets[qsizetype(index)];
    const DataSet *set = findDataSet(name);
    SetOutcome &o = outcome(name);
    if (result.ok()) {
        o.state = SetState::Written;
        if (name != kArticles)
            stepDone(set->writeFrames());
        if (verify_ && !cancelled_)
            return verifySet(index);
        return restoreNext(index + 1);
    }
    o.message = result.message;
    if (result.kind == Kind::Invalid) {
        // Refused before anything was sent: the other sets still go.
        o.state = SetState::Failed;
        if (soft_.ok())
            soft_ = OpResult::failed(Kind::Invalid, ToolText::profileSetRefused(name, result.message));
        stepDone(set->writeFrames() + (verify_ ? set->readFrames() : 0));
        return restoreNext(index + 1);
    }
    // A fault stops the run. What may have reached the device is half-written, never written.
    const bool nothingWritten = framesSent <= framesBeforeWriting(name) ||
                                (result.kind == Kind::DeviceError && singleWrite(name)) || result.kind == Kind::NotSent;
    o.state = nothingWritten ? SetState::Failed : SetState::HalfWritten;
    stoppedByFault_ = true;
    end(OpResult::failed(result.kind, ToolText::profileWriteFailed(name, result.message)));
}

void ProfileRun::verifySet(size_t index)
{
    const QString name = plan_.sets[qsizetype(index)];
    emit stepStarted(name, ToolText::profileStepVerifying());
    const DataSet *set = findDataSet(name);
    if (name == kArticles)
        return verifyArticleBlocks(index, writtenBlocks_, 0, std::make_shared<QStringList>());
    set->read(device_, stepProgress(set->readFrames()),
              [this, index, set, name](const OpResult &read, const QJsonValue &data) {
                  if (!read.ok()) {
                      outcome(name).message = read.message;
                      stoppedByFault_ = true;
                      return end(OpResult::failed(read.kind, ToolText::profileVerifyFailed(name, read.message)));
                  }
                  stepDone(set->readFrames());
                  finishSetVerify(index, compareSet(name, saved_.sets.value(name), data).differences);
              });
}

void ProfileRun::verifyArticleBlocks(size_t index, std::shared_ptr<std::vector<std::pair<int, int>>> blocks,
                                     size_t block, std::shared_ptr<QStringList> mismatches)
{
    if (!blocks || block >= blocks->size())
        return finishSetVerify(index, *mismatches);
    const auto range = (*blocks)[block];
    const int from = range.first, to = range.second;
    const int weight = to - from + 1;
    readArticleRange(
        device_, from, to, stepProgress(weight),
        [this, index, blocks, block, mismatches, from, to, weight](const OpResult &read, const QJsonValue &data) {
            if (!read.ok()) {
                outcome(kArticles).message = read.message;
                stoppedByFault_ = true;
                return end(OpResult::failed(read.kind, ToolText::profileVerifyFailed(kArticles, read.message)));
            }
            stepDone(weight);
            const SetComparison c = compareSet(kArticles, articlesWithin(saved_.sets.value(kArticles), from, to), data);
            for (const int n : c.articleNumbers)
                mismatches->append(QString::number(n));
            verifyArticleBlocks(index, blocks, block + 1, mismatches);
        });
}

void ProfileRun::finishSetVerify(size_t index, const QStringList &mismatches)
{
    const QString name = plan_.sets[qsizetype(index)];
    SetOutcome &o = outcome(name);
    if (mismatches.isEmpty()) {
        o.state = SetState::Verified;
    } else {
        o.state = SetState::Mismatch;
        o.message = name == kArticles ? ToolText::profileArticlesMismatch(mismatches.join(QStringLiteral(", ")))
                                      : mismatches.join(QStringLiteral("; "));
        if (soft_.ok() || soft_.kind == Kind::Invalid)
            soft_ = OpResult::failed(Kind::DeviceError, ToolText::profileMismatch(name, o.message));
    }
    restoreNext(index + 1);
}

QString ProfileRun::report() const
{
    QStringList lines;
    const auto named = [this](SetState state) {
        QStringList sets;
        for (const SetOutcome &o : outcomes_)
            if (o.state == state)
                sets << o.set;
        return sets.join(QStringLiteral(", "));
    };
    const auto add = [&lines](const QString &sets, const QString &line) {
        if (!sets.isEmpty())
            lines << line.arg(sets);
    };
    add(named(SetState::Read), ToolText::profileReportRead());
    add(named(SetState::Verified), ToolText::profileReportVerified());
    add(named(SetState::Written),
        verify_ ? ToolText::profileReportWrittenNotVerified() : ToolText::profileReportWritten());
    add(named(SetState::Unchanged), ToolText::profileReportUnchanged());
    add(named(SetState::Mismatch), ToolText::profileReportMismatch());
    add(named(SetState::HalfWritten), ToolText::profileReportHalfWritten());
    add(named(SetState::Failed),
        mode_ == Mode::Restore ? ToolText::profileReportNotWrittenFailed() : ToolText::profileReportNotReadFailed());
    add(named(SetState::Skipped), ToolText::profileReportSkipped());
    add(named(SetState::NotStarted),
        mode_ == Mode::Restore ? ToolText::profileReportNotWritten() : ToolText::profileReportNotRead());
    for (const SetOutcome &o : outcomes_)
        if (!o.message.isEmpty())
            lines << QStringLiteral("  %1: %2").arg(o.set, o.message);
    if (mode_ == Mode::Restore && stoppedByFault_)
        lines << ToolText::profileReportRunAgain();
    return lines.join(QLatin1Char('\n')) + (lines.isEmpty() ? QString() : QStringLiteral("\n"));
}
