#pragma once
// Backup, compare and restore of a whole device: sequences of data-set operations with one progress and one report.

#include "DataSet.h"
#include "OpResult.h"
#include "Profile.h"
#include "ProfileComparison.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class Device;

class ProfileRun : public QObject {
    Q_OBJECT
public:
    // How each set fared in the last run.
    // Mismatch: written, but reading it back found differences (the outcome's message lists them).
    enum class SetState { NotStarted, Read, Written, Verified, Unchanged, Skipped, HalfWritten, Failed, Mismatch };
    struct SetOutcome {
        QString set;
        SetState state = SetState::NotStarted;
        QString message; // why it failed or was skipped; empty otherwise
    };

    // What a restore is about to do, known after prepareRestore(): the question the user answers.
    struct RestorePlan {
        QStringList sets;        // the sets to write, in run order
        bool clone = false;      // the profile comes from another printer (identities differ)
        QString profileIdentity; // Profile::identity() of the file
        QString deviceIdentity;  // the same of the connected printer
        bool taxGroupsDiffer = false;
        int taxRateChangesLeft = -1; // the device's remaining rate changes (-1: not read)
        QStringList notes;           // sets left out, and why (tax groups: no change left)
        // The confirmation text listing all of the above.
        QString question() const;
    };

    explicit ProfileRun(Device &device, QObject *parent = nullptr);

    // Reads every readable set into profile(). On a fault the run stops; profile() keeps the sets
    // read so far with complete = false.
    void backup();
    // Reads the sets `saved` holds and compares: comparison().
    void compare(const Profile &saved);
    // Reads what the plan needs (identity, tax groups) for restoring `only` (empty: every writable
    // set in the profile) from `saved`: plan(). Invalid when a named set is unknown or not writable.
    void prepareRestore(const Profile &saved, const QStringList &only = {});
    // Writes the planned sets; with `verify` reads them back and compares. outcomes() says per set
    // what happened.
    void restore(bool verify = true);
    // Breaks the running run off as Cancel does; finished() follows with Cancelled.
    void cancel();
    bool running() const { return running_; }

    const Profile &profile() const { return profile_; }
    const ProfileComparison &comparison() const { return comparison_; }
    const RestorePlan &plan() const { return plan_; }
    const std::vector<SetOutcome> &outcomes() const { return outcomes_; }
    // The run's report in the tool's words: per set what was read/written/verified, and after a
    // fault which sets were done, which not, and which was half-written.
    QString report() const;

signals:
    // A set's step begins ("reading taxpayer", "writing articles").
    void stepStarted(const QString &set, const QString &what);
    // Over the whole run, weighted by frames (DataSet::readFrames/writeFrames).
    void progress(int done, int total);
    // The run ended; called once per run, from the event loop.
    void finished(const OpResult &result);

private:
    enum class Mode { None, Backup, Compare, Prepare, Restore };
    // Starts a run of `mode` over `weight` frames; false (finished follows with NotSent) when one runs.
    bool begin(Mode mode, int weight);
    void end(const OpResult &result);
    // Progress of a step of `weight` frames that has done `done` of `total` of its own.
    DataSet::Progress stepProgress(int weight);
    void stepDone(int weight);
    SetOutcome &outcome(const QString &set);

    void readNext(size_t index);
    void prepareNext();
    void restoreNext(size_t index);
    void restoreArticles(size_t index);
    // After set `index` was written: reads it back (with verify) and goes on with the next one.
    void afterWrite(size_t index, const OpResult &result, int framesSent);
    void verifySet(size_t index);
    void verifyArticleBlocks(size_t index, std::shared_ptr<std::vector<std::pair<int, int>>> blocks, size_t block,
                             std::shared_ptr<QStringList> mismatches);
    void finishSetVerify(size_t index, const QStringList &mismatches);

    Device &device_;
    Mode mode_ = Mode::None;
    bool running_ = false;
    bool cancelled_ = false;
    bool verify_ = true;
    bool prepared_ = false;
    // The last restore was stopped by a fault (not by data a set refused): running it again finishes it.
    bool stoppedByFault_ = false;
    int done_ = 0;
    int total_ = 0;
    // The sets this run reads (backup, compare) in order.
    std::vector<const DataSet *> queue_;
    Profile saved_;
    // Sets the plan left out (tax groups already equal, or no change left), as restore reports them.
    std::vector<SetOutcome> leftOut_;
    // The article blocks the restore wrote, for their verify.
    std::shared_ptr<std::vector<std::pair<int, int>>> writtenBlocks_;
    // The first problem that does not stop a restore (a set refused before sending, a mismatch).
    OpResult soft_;
    Profile profile_;
    ProfileComparison comparison_;
    RestorePlan plan_;
    std::vector<SetOutcome> outcomes_;
};
