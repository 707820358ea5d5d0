#include "CliRun.h"

#include "ArticleDataSet.h"
#include "DataSet.h"
#include "DeviceCommands.h"
#include "FactoryNumberFile.h"
#include "InterruptWatcher.h"
#include "ProfileCommand.h"
#include "SerialTransport.h"
#include "TcpTransport.h"
#include "ToolText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
constexpr int kMemorySize = 131072;

QByteArray jsonText(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Indented);
    // A bare value: written as the one element of a list would be, without the brackets.
    QByteArray inList = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return inList.mid(1, inList.size() - 2) + '\n';
}

bool isYes(const QString &answer)
{
    static const QStringList yes = {QStringLiteral("y"),  QStringLiteral("yes"), QStringLiteral("d"),
                                    QStringLiteral("da"), QStringLiteral("д"),   QStringLiteral("да")};
    return yes.contains(answer.trimmed().toLower());
}
} // namespace

CliRun::CliRun(const CliOptions &options, QObject *parent) : QObject(parent), options_(options)
{
    link_.resetState();
    interrupts_ = new InterruptWatcher(this);
    connect(interrupts_, &InterruptWatcher::interrupted, this, &CliRun::onInterrupted);
}

CliRun::~CliRun()
{
    if (transport_)
        transport_->close();
}

void CliRun::start()
{
    if (!prepare())
        return;
    if (!connectDevice())
        return;
    const bool loginCommand = options_.command == QStringLiteral("login");
    if (options_.login || loginCommand) {
        DeviceCommands::login(device_, [this, loginCommand](const OpResult &result) {
            if (!result.ok() || loginCommand)
                return finish(result);
            runCommand();
        });
        return;
    }
    runCommand();
}

bool CliRun::prepare()
{
    const QString &c = options_.command;
    if (c == QStringLiteral("read") || c == QStringLiteral("write"))
        set_ = findDataSet(options_.args.value(0));
    if (c == QStringLiteral("write")) {
        if (!set_->writable()) {
            fail(ToolText::cliFiscalNotWritable());
            return false;
        }
        const QString path = options_.args.value(1);
        QFile file;
        const bool opened = path == QStringLiteral("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                        : (file.setFileName(path), file.open(QIODevice::ReadOnly));
        if (!opened) {
            fail(ToolText::cliFileUnreadable(path, file.errorString()));
            return false;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            fail(ToolText::cliFileUnreadable(path, file.errorString()));
            return false;
        }
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError) {
            fail(ToolText::cliFileNotJson(path, error.errorString(), error.offset));
            return false;
        }
        data_ = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());

        const QString question = set_->writeQuestion();
        if (!question.isEmpty() && !options_.yes) {
            if (::isatty(STDIN_FILENO) != 1) {
                fail(ToolText::cliQuestionNeedsTerminal());
                return false;
            }
            const QByteArray ask = (question + ToolText::cliAnswerYesNo()).toUtf8();
            std::fwrite(ask.constData(), 1, size_t(ask.size()), stderr);
            std::fflush(stderr);
            char line[256] = {};
            const bool got = std::fgets(line, sizeof line, stdin) != nullptr;
            if (InterruptWatcher::pressed()) {
                finish(OpResult::failed(OpResult::Kind::Cancelled));
                return false;
            }
            if (!got || !isYes(QString::fromUtf8(line))) {
                fail(ToolText::cliWriteNotConfirmed());
                return false;
            }
        }
    }
    if (ProfileCommand::handles(c)) {
        profile_ = new ProfileCommand(options_, device_, view_, this);
        QString error;
        if (!profile_->prepare(error)) {
            fail(error);
            return false;
        }
    }
    if (!options_.logPath.isEmpty()) {
        QString error;
        if (!log_.open(options_.logPath, error)) {
            fail(ToolText::cliFileUnwritable(options_.logPath, error));
            return false;
        }
        log_.attach(link_);
    }
    if (options_.factoryNumberGiven) {
        device_.setFactoryNumber(options_.factoryNumber);
    } else {
        const FactoryNumberFile file = FactoryNumberFile::read();
        device_.setFactoryNumber(file.number);
        // A missing file is as usual as in the window; a file that is there but wrong is worth a word
        // when a long frame is about to carry its number.
        const bool longFrames = options_.login || c == QStringLiteral("login") || c == QStringLiteral("selftest");
        if (longFrames && QFile::exists(QStringLiteral("fkase.ini")) && !file.note.isEmpty())
            view_.say(file.note);
    }
    return true;
}

bool CliRun::connectDevice()
{
    if (options_.serial()) {
        auto serial = std::make_unique<SerialTransport>();
        serial->setPortName(options_.serialPath());
        if (!serial->open()) {
            fail(ToolText::cliConnectFailed(options_.device, serial->errorString()));
            return false;
        }
        link_.setSerialTransport(true);
        transport_ = std::move(serial);
    } else {
        auto tcp = std::make_unique<TcpTransport>();
        if (!tcp->connectTo(options_.tcpAddress())) {
            fail(ToolText::cliConnectFailed(options_.device, tcp->connectError()));
            return false;
        }
        link_.setSerialTransport(false);
        transport_ = std::move(tcp);
    }
    link_.setTransport(transport_.get());
    return true;
}

void CliRun::runCommand()
{
    const QString &c = options_.command;
    if (c == QStringLiteral("read"))
        return readSet();
    if (c == QStringLiteral("write"))
        return writeSet();
    if (c == QStringLiteral("fm-dump"))
        return dumpMemory();
    if (profile_)
        return profile_->start([this](const OpResult &result, int exitCode) { finish(result, exitCode); });
    const auto done = [this](const OpResult &result) { finish(result); };
    if (c == QStringLiteral("selftest")) {
        using T = DeviceCommands::SelfTest;
        const QString &which = options_.args[0];
        const T test = which == QStringLiteral("display")   ? T::Display
                       : which == QStringLiteral("printer") ? T::Printer
                       : which == QStringLiteral("fm")      ? T::FiscalMemory
                                                            : T::ProgramMemory;
        return DeviceCommands::selfTest(device_, test, done);
    }
    if (c == QStringLiteral("clock-shift"))
        return DeviceCommands::clockShift(device_, options_.args[0] == QStringLiteral("forward"), done);
    finish(OpResult::done());
}

void CliRun::readSet()
{
    const bool articles = set_->name() == QStringLiteral("articles");
    progress_ = TerminalProgress(!options_.quiet && TerminalProgress::stderrIsTerminal(),
                                 articles ? ToolText::articleCounterCaption() : QString());
    const auto progress = [this](int done, int total) { progress_.show(done, total); };
    auto done = [this](const OpResult &result, const QJsonValue &data) {
        progress_.finish();
        if (!result.ok())
            return finish(result);
        if (!writeOutput(jsonText(data)))
            return;
        finish(OpResult::done());
    };
    if (articles)
        return readArticleRange(device_, options_.from, options_.to, progress, std::move(done));
    set_->read(device_, progress, std::move(done));
}

void CliRun::writeSet()
{
    const bool articles = set_->name() == QStringLiteral("articles");
    progress_ = TerminalProgress(!options_.quiet && TerminalProgress::stderrIsTerminal(),
                                 articles ? ToolText::articleCounterCaption() : QString());
    const auto progress = [this](int done, int total) { progress_.show(done, total); };
    auto done = [this](const OpResult &result) {
        progress_.finish();
        finish(result);
    };
    if (articles)
        return writeArticleRange(device_, data_, options_.from, options_.to, progress, std::move(done));
    set_->write(device_, data_, progress, std::move(done));
}

void CliRun::dumpMemory()
{
    progress_ = TerminalProgress(!options_.quiet && TerminalProgress::stderrIsTerminal());
    DeviceCommands::fmDump(
        device_, [this](int done, int total) { progress_.show(done, total); },
        [this](const OpResult &result, const QByteArray &memory) {
            progress_.finish();
            if (!result.ok())
                return finish(result);
            if (memory.size() != kMemorySize)
                return fail(ToolText::cliMemoryIncomplete(int(memory.size()), kMemorySize));
            if (!writeOutput(memory))
                return;
            finish(OpResult::done());
        });
}

bool CliRun::writeOutput(const QByteArray &bytes)
{
    if (options_.output.isEmpty() || options_.output == QStringLiteral("-")) {
        const bool ok = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
                        std::fflush(stdout) == 0;
        if (!ok)
            fail(ToolText::cliFileUnwritable(QStringLiteral("-"), QString::fromLocal8Bit(std::strerror(errno))));
        return ok;
    }
    QSaveFile file(options_.output);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        fail(ToolText::cliFileUnwritable(options_.output, file.errorString()));
        return false;
    }
    return true;
}

void CliRun::onInterrupted()
{
    if (finished_)
        return;
    if (interrupted_) {
        // A second Ctrl-C does not wait for the transfer's end.
        finish(OpResult::failed(OpResult::Kind::Cancelled));
        return;
    }
    interrupted_ = true;
    if (profile_) {
        // The run breaks itself off between sets and in a chain, and ends with what it has.
        profile_->cancel();
        QTimer::singleShot(8000, this, [this] { finish(OpResult::failed(OpResult::Kind::Cancelled)); });
        return;
    }
    const bool chain = link_.busy();
    // As Cancel does: no more waiting, the reply in flight is dropped, a running chain ends.
    link_.BtnOtkazClick();
    if (!chain) {
        finish(OpResult::failed(OpResult::Kind::Cancelled));
        return;
    }
    // The chain's own end comes through its operation; should it not, the run ends anyway.
    QTimer::singleShot(3000, this, [this] { finish(OpResult::failed(OpResult::Kind::Cancelled)); });
}

void CliRun::finish(const OpResult &result, int exitCode)
{
    if (finished_)
        return;
    finished_ = true;
    progress_.finish();
    log_.flush();
    int code = kExitOk;
    if (interrupted_ || InterruptWatcher::pressed()) {
        view_.say(ToolText::cliInterrupted());
        code = kExitInterrupted;
    } else if (!result.ok()) {
        // The link has said most things itself (device errors, no answer, a lost connection).
        if (!result.message.isEmpty() && !view_.said(result.message))
            view_.say(result.message);
        code = kExitError;
    }
    if (exitCode >= 0 && code == kExitOk)
        code = exitCode;
    emit finished(code);
}
