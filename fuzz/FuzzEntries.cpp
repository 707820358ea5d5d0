#include "FuzzEntries.h"

#include "ArticleFileFormat.h"
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "BarcodeLineAssembler.h"
#include "Cp1251.h"
#include "DeviceLink.h"
#include "FmDumpSection.h"
#include "LogoSection.h"
#include "SimulatedDevice.h"
#include "TDialog.h"
#include "TfMain.h"
#include "Transport.h"

#include <QApplication>
#include <QDateTime>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <array>
#include <cstring>
#include <memory>
#include <string>

namespace {
// A transport that accepts every write and counts the short requests by code.
class SinkTransport : public Transport {
public:
    bool isOpen() const override { return true; }
    bool write(const QByteArray &bytes) override
    {
        if (bytes.size() >= 4 && uint8_t(bytes.at(0)) == 0x5F)
            ++requests[uint8_t(bytes.at(1))];
        return true;
    }
    QString errorString() const override { return {}; }
    void close() override {}
    bool recogniseEachByte() const override { return eachByte; }
    bool eachByte = true;
    std::array<int, 256> requests{};
};

QApplication &app()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication *a = qobject_cast<QApplication *>(QCoreApplication::instance())
                                 ? qobject_cast<QApplication *>(QCoreApplication::instance())
                                 : new QApplication(argc, argv);
    return *a;
}

// A whole window on a transport that forgets what it is sent. Each input may first start one of
// the chains whose reply handlers depend on it (articles, cashiers, logo, fiscal-memory dump), and
// may have bytes arrive while a reply's message is open, as a real port delivers them.
struct LinkRig {
    LinkRig()
    {
        app();
        window = std::make_unique<TfMain>();
        window->FormActivate();
        window->dialog().setResponder([this](TDialog &) { return respond(); });
        window->link().setTransport(&sink);
        dump = window->findChild<FmDumpSection *>();
        if (!dump || !dumpDir.isValid())
            __builtin_trap();
        dump->setFileChooser([this] { return dumpDir.filePath(QStringLiteral("fm.BIN")); });
        QObject::connect(&window->link(), &DeviceLink::replyDispatched, [this](uint8_t code) {
            if (code == kProbeCode)
                ++probes;
        });
    }
    // The message dialog: while it is open, the next piece of the input arrives.
    int respond()
    {
        ++reach.dialogs;
        if (nested && pos < bytes.size()) {
            ++reach.nestedDeliveries;
            deliverNext();
        }
        return answer;
    }
    void deliverNext()
    {
        const qsizetype n = eachByte ? std::min<qsizetype>(bytes.size() - pos, 1 + uint8_t(bytes.at(pos)) % 16)
                                     : std::min<qsizetype>(bytes.size() - pos, 1 + uint8_t(bytes.at(pos)) % 64);
        const QByteArray piece = bytes.mid(pos, n);
        pos += n;
        window->link().receiveBytes(piece, eachByte);
    }
    void click(const char *name)
    {
        if (auto *b = window->findChild<QPushButton *>(QLatin1String(name))) {
            b->setEnabled(true);
            b->click();
        }
    }
    // Back to an idle window in service mode with nothing waiting, as after start-up.
    void reset()
    {
        nested = false;
        if (dump->running())
            click("btnFMDump"); // stops the dump and forgets its file
        DeviceLink &link = window->link();
        link.resetState();
        link.setTransport(&sink);
        sink.requests.fill(0);
        reach = {};
    }

    static constexpr uint8_t kProbeCode = 0x06; // a reply no handler acts on
    SinkTransport sink;
    std::unique_ptr<TfMain> window;
    FmDumpSection *dump = nullptr;
    QTemporaryDir dumpDir;
    QByteArray bytes;
    qsizetype pos = 0;
    bool eachByte = true;
    bool nested = false;
    int answer = 0;
    int probes = 0;
    FuzzLinkReach reach;
};

LinkRig &rig()
{
    static LinkRig r;
    return r;
}

// A scratch file rewritten with each input, for the loaders that read from a path.
QString scratchFile(const char *data, size_t size)
{
    static QTemporaryFile file;
    if (!file.isOpen() && !file.open())
        __builtin_trap();
    file.resize(0);
    file.seek(0);
    if (file.write(data, qint64(size)) != qint64(size) || !file.flush())
        __builtin_trap();
    return file.fileName();
}

bool holdsAny(const ArticleFileFormat::Fields &f, QChar a, QChar b)
{
    for (const QString &s : f)
        if (s.contains(a) || s.contains(b))
            return true;
    return false;
}

// 0 when the line parses soundly with both separators, else the number of the broken rule.
int checkLine(const QString &line)
{
    for (const QChar separator : {QChar(u';'), QChar(u',')}) {
        const ArticleFileFormat::Fields f = ArticleFileFormat::parseLine(line, separator);
        // Every field is a piece of the line. On a line the search does not fit, fields may be
        // shifted and overlap (the file's layout, kept as it is), but never reach past the line.
        for (const QString &s : f)
            if (!line.contains(s))
                return 1;
        // Fields free of quotes and separators, with a number, survive a save and a load.
        if (!f[0].isEmpty() && !holdsAny(f, separator, u'"') &&
            ArticleFileFormat::parseLine(ArticleFileFormat::formatLine(f, separator), separator) != f)
            return 2;
    }
    return 0;
}

// Calls `each` with every line of an article file as the load cuts them (LF or CR LF; the last
// line may lack its line end); stops at the first non-zero result and returns it.
template <typename F> int forEachLine(const char *begin, const char *end, F each)
{
    for (const char *p = begin; p < end;) {
        const char *nl = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *e = nl ? nl : end;
        if (e != p && e[-1] == '\r')
            --e;
        if (const int r = each(Cp1251::decode(p, e - p)))
            return r;
        p = nl ? nl + 1 : end;
    }
    return 0;
}

// Whether `r` is one whole reply frame the tool can recognise: a short frame whose length fits its
// length byte, or a long frame with its sum and exclusive-or.
bool wellFormedReply(const QByteArray &r)
{
    if (r.size() < 4 || uint8_t(r.back()) != 0x0D)
        return false;
    const auto at = [&](qsizetype i) { return uint8_t(r.at(i)); };
    if (at(0) == 0x5F) {
        const int l = at(2);
        return r.size() == l + 4 || (l == 255 && r.size() == 260);
    }
    if (at(0) != 0xAA || r.size() < 12 || r.size() != at(8) + 12 || at(1) != 0x04 || at(2) != 0x01)
        return false;
    uint8_t sum = 0, x = 0;
    for (qsizetype i = 0; i < r.size() - 3; ++i)
        sum = uint8_t(sum + at(i)), x = uint8_t(x ^ at(i));
    return sum == at(r.size() - 3) && x == at(r.size() - 2);
}
} // namespace

static LinkRig &linkRig()
{
    static LinkRig r;
    return r;
}

const FuzzLinkReach &FuzzLinkLastReach()
{
    return linkRig().reach;
}

int FuzzLinkInput(const uint8_t *data, size_t size)
{
    LinkRig &rig = linkRig();
    if (size == 0)
        return 0;
    rig.reset();
    DeviceLink &link = rig.window->link();
    // First byte: bit 0 per-byte (TCP) or per-chunk (serial) delivery; bits 1-3 the chain started
    // first; bit 4 Cancel pressed after the start; bit 5 bytes arrive while messages are open;
    // bit 6 the answer to a question.
    const uint8_t mode = data[0];
    rig.eachByte = (mode & 1) != 0;
    rig.sink.eachByte = rig.eachByte;
    static const char *const starts[] = {nullptr,     "btnARead",    "btnAWrite",    "btnORead",
                                         "btnOWrite", "btnLogoRead", "btnLogoWrite", "btnFMDump"};
    if (const char *start = starts[(mode >> 1) & 7])
        rig.click(start);
    if (mode & 0x10)
        rig.click("BtnOtkaz");
    rig.nested = (mode & 0x20) != 0;
    rig.answer = (mode & 0x40) ? 1 : 0;
    rig.bytes = QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    rig.pos = 0;
    while (rig.pos < rig.bytes.size()) {
        if (rig.eachByte && !rig.nested) {
            // Over TCP every byte is recognised on its own; one delivery of them all is the same.
            const QByteArray rest = rig.bytes.mid(rig.pos);
            rig.pos = rig.bytes.size();
            link.receiveBytes(rest, true);
        } else {
            rig.deliverNext();
        }
        if (link.rxCount() < 0 || link.rxCount() > DeviceLink::kBufferSize)
            return 1;
    }
    if (link.rxCount() < 0 || link.rxCount() > DeviceLink::kBufferSize)
        return 1;
    // Whatever came before, nothing is left stuck: with the buffer emptied, a fresh reply is
    // recognised at once and exactly once.
    rig.nested = false;
    link.clearRx();
    link.setCancelFlag(false);
    const int probes = rig.probes;
    link.receiveBytes(QByteArray("\x5F\x06\x00\x0D", 4), rig.eachByte);
    if (rig.probes != probes + 1)
        return 2;
    rig.reach.requests = rig.sink.requests;
    return 0;
}

int FuzzSimInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The request stream in one piece and split where the first byte says: the device must answer
    // both alike, and every answer must be a frame the tool can recognise.
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const qsizetype split = data[0] % (bytes.size() + 1);
    SimulatedDevice whole;
    SimulatedDevice pieces;
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    const QList<QByteArray> replies = whole.feedEach(bytes);
    QList<QByteArray> again = pieces.feedEach(bytes.left(split));
    again += pieces.feedEach(bytes.mid(split));
    // The device's clock follows the host's: when a second ticked in between, the clock replies
    // may rightly differ.
    if (replies != again && QDateTime::currentSecsSinceEpoch() == second)
        return 1;
    for (const QByteArray &r : replies)
        if (!r.isEmpty() && !wellFormedReply(r))
            return 2;
    if (whole.requestCount() != quint64(replies.size()))
        return 3;
    return 0;
}

int FuzzArticleFileInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const char *begin = reinterpret_cast<const char *>(data) + 1;
    const char *const end = reinterpret_cast<const char *>(data) + size;
    return forEachLine(begin, end, [](const QString &line) { return checkLine(line); });
}

int FuzzArticleLoadInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const char *begin = reinterpret_cast<const char *>(data) + 1;
    const char *const end = reinterpret_cast<const char *>(data) + size;
    ArticlesSection &section = rig().window->articlesSection();
    const ArticleModel &m = rig().window->articles();
    QStringList before;
    for (int c = 0; c < ArticleModel::kColumns; ++c)
        before << m.cell(c, 1);
    const bool loaded = section.loadArticlesFrom(scratchFile(begin, size_t(end - begin)));
    // Whatever the file holds, each row keeps its own number; a load that was refused or
    // declined leaves the table as it was.
    for (int r : {1, 2, 3000, ArticleModel::kArticles})
        if (m.cell(ArticleModel::Number, r) != QString::number(r))
            return 2;
    for (int c = 0; !loaded && c < ArticleModel::kColumns; ++c)
        if (m.cell(c, 1) != before[c])
            return 3;
    return 0;
}

int FuzzLogoFileInput(const uint8_t *data, size_t size)
{
    static LogoSection *logo = rig().window->findChild<LogoSection *>();
    if (!logo)
        __builtin_trap();
    const QImage before = logo->logo();
    const QString path = scratchFile(reinterpret_cast<const char *>(data), size);
    if (logo->loadLogoFile(path)) {
        // A loaded picture is shown opaque, as the device prints it.
        if (logo->logo().isNull() || logo->logo().hasAlphaChannel())
            return 1;
    } else if (logo->logo() != before) {
        return 2; // a picture that could not be read leaves the logo as it was
    }
    return 0;
}

int FuzzBarcodeInput(const uint8_t *data, size_t size)
{
    BarcodeLineAssembler assembler;
    std::string model; // the bytes since the last complete code, newest 20 kept
    qint64 dropped = 0;
    size_t pos = 0;
    while (pos < size) {
        const size_t n = std::min<size_t>(size - pos, 1 + data[pos] % 32);
        const QByteArray chunk(reinterpret_cast<const char *>(data + pos), qsizetype(n));
        pos += n;
        model.append(chunk.constData(), size_t(chunk.size()));
        if (model.size() > size_t(BarcodeLineAssembler::kCapacity)) {
            dropped += qint64(model.size()) - BarcodeLineAssembler::kCapacity;
            model.erase(0, model.size() - BarcodeLineAssembler::kCapacity);
        }
        const std::optional<QByteArray> code = assembler.addChunk(chunk);
        const bool complete = model.size() >= 2 && model.compare(model.size() - 2, 2, "\r\n") == 0;
        if (code.has_value() != complete)
            return 1;
        if (complete) {
            if (code->toStdString() != model.substr(0, model.size() - 2))
                return 2;
            model.clear();
            dropped = 0;
        }
        if (assembler.count() != int(model.size()) || assembler.collected().toStdString() != model ||
            assembler.dropped() != dropped)
            return 3;
    }
    return 0;
}
