#include "ProfileCommand.h"

#include "InterruptWatcher.h"
#include "TerminalView.h"
#include "ToolText.h"

#include <cstdio>
#include <unistd.h>

namespace {
bool isYes(const QString &answer)
{
    static const QStringList yes = {QStringLiteral("y"),  QStringLiteral("yes"), QStringLiteral("d"),
                                    QStringLiteral("da"), QStringLiteral("д"),   QStringLiteral("да")};
    return yes.contains(answer.trimmed().toLower());
}

void print(FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}
} // namespace

ProfileCommand::ProfileCommand(const CliOptions &options, Device &device, TerminalView &view, QObject *parent)
    : QObject(parent), options_(options), view_(view), run_(device)
{
    connect(&run_, &ProfileRun::progress, this, [this](int done, int total) { progress_.show(done, total); });
}

bool ProfileCommand::handles(const QString &command)
{
    return command == QStringLiteral("backup") || command == QStringLiteral("compare") ||
           command == QStringLiteral("restore");
}

bool ProfileCommand::prepare(QString &error)
{
    const QString &c = options_.command;
    if (c == QStringLiteral("backup"))
        return true;
    if (!ProfileFile::read(options_.args.value(0), saved_, error))
        return false;
    if (c == QStringLiteral("restore") && !options_.yes && ::isatty(STDIN_FILENO) != 1) {
        error = ToolText::cliProfileQuestionNeedsTerminal();
        return false;
    }
    return true;
}

void ProfileCommand::start(Done done)
{
    done_ = std::move(done);
    progress_ = TerminalProgress(!options_.quiet && TerminalProgress::stderrIsTerminal());
    const QString &c = options_.command;
    if (c == QStringLiteral("backup")) {
        connect(&run_, &ProfileRun::finished, this, [this](const OpResult &result) {
            progress_.finish();
            if (!result.ok() && !options_.keepIncomplete)
                return finish(result);
            QString error;
            if (!ProfileFile::write(run_.profile(), options_.output, error))
                return finish(OpResult::failed(OpResult::Kind::Invalid, error));
            if (!result.ok())
                view_.say(ToolText::cliProfileSavedIncomplete(options_.output));
            finish(result);
        });
        return run_.backup();
    }
    if (c == QStringLiteral("compare")) {
        connect(&run_, &ProfileRun::finished, this, [this](const OpResult &result) {
            progress_.finish();
            if (!result.ok())
                return finish(result);
            print(stdout, run_.comparison().text());
            finish(result, run_.comparison().equal() ? -1 : kExitDifferent);
        });
        return run_.compare(saved_);
    }
    // restore: the plan (it reads the identity and the rates), the question, the writes.
    connect(&run_, &ProfileRun::finished, this, &ProfileCommand::afterPrepare);
    run_.prepareRestore(saved_, options_.only);
}

void ProfileCommand::afterPrepare(const OpResult &result)
{
    disconnect(&run_, &ProfileRun::finished, this, &ProfileCommand::afterPrepare);
    progress_.finish();
    if (!result.ok())
        return finish(result);
    if (!saved_.complete)
        view_.say(ToolText::cliProfileIncompleteNote());
    if (!options_.yes && !confirm())
        return;
    connect(&run_, &ProfileRun::finished, this, [this](const OpResult &written) {
        progress_.finish();
        print(stderr, run_.report());
        finish(written);
    });
    run_.restore(!options_.noVerify);
}

bool ProfileCommand::confirm()
{
    print(stderr, run_.plan().question() + ToolText::cliAnswerYesNo());
    char line[256] = {};
    const bool got = std::fgets(line, sizeof line, stdin) != nullptr;
    if (InterruptWatcher::pressed()) {
        finish(OpResult::failed(OpResult::Kind::Cancelled));
        return false;
    }
    if (!got || !isYes(QString::fromUtf8(line))) {
        finish(OpResult::failed(OpResult::Kind::Invalid, ToolText::cliWriteNotConfirmed()));
        return false;
    }
    return true;
}

void ProfileCommand::finish(const OpResult &result, int exitCode)
{
    if (!done_)
        return;
    const Done done = std::move(done_);
    done_ = nullptr;
    done(result, exitCode);
}
