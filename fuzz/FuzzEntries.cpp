#include "FuzzEntries.h"

#include "ArticleFileFormat.h"
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "BarcodeLineAssembler.h"
#include "Cp1251.h"
#include "DeviceLink.h"
#include "LogoSection.h"
#include "SimulatedDevice.h"
#include "TDialog.h"
#include "TfMain.h"
#include "Transport.h"

#include <QApplication>
#include <QTemporaryFile>

#include <cstring>
#include <memory>
#include <string>

namespace {
// A transport that accepts every write and forgets it.
class SinkTransport : public Transport {
public:
    bool isOpen() const override { return true; }
    bool write(const QByteArray &) override { return true; }
    QString errorString() const override { return {}; }
    void close() override {}
    bool recogniseEachByte() const override { return eachByte; }
    bool eachByte = true;
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

struct LinkRig {
    LinkRig()
    {
        app();
        window = std::make_unique<TfMain>();
        window->FormActivate();
        window->dialog().setResponder([](TDialog &) { return 0; });
        window->link().setTransport(&sink);
    }
    SinkTransport sink;
    std::unique_ptr<TfMain> window;
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

void checkLine(const QString &line)
{
    for (const QChar separator : {QChar(u';'), QChar(u',')}) {
        const ArticleFileFormat::Fields f = ArticleFileFormat::parseLine(line, separator);
        // Every field is a piece of the line. On a line the search does not fit, fields may be
        // shifted and overlap (the file's layout, kept as it is), but never reach past the line.
        for (const QString &s : f)
            if (!line.contains(s))
                __builtin_trap();
        // Fields free of quotes and separators, with a number, survive a save and a load.
        if (!f[0].isEmpty() && !holdsAny(f, separator, u'"') &&
            ArticleFileFormat::parseLine(ArticleFileFormat::formatLine(f, separator), separator) != f)
            __builtin_trap();
    }
}
} // namespace

int FuzzLinkInput(const uint8_t *data, size_t size)
{
    static LinkRig rig;
    if (size == 0)
        return 0;
    DeviceLink &link = rig.window->link();
    link.clearRx();
    link.setCancelFlag(false);
    rig.sink.eachByte = (data[0] & 1) != 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    // Deliver in chunks whose sizes come from the input itself, as a serial port would.
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype n = rig.sink.eachByte
                                ? bytes.size()
                                : std::min<qsizetype>(bytes.size() - pos, 1 + (uint8_t(bytes.at(pos)) % 64));
        link.receiveBytes(bytes.mid(pos, n), rig.sink.eachByte);
        pos += n;
    }
    if (link.rxCount() < 0 || link.rxCount() > DeviceLink::kBufferSize)
        __builtin_trap();
    return 0;
}

int FuzzSimInput(const uint8_t *data, size_t size)
{
    SimulatedDevice device;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    device.feed(bytes.left(bytes.size() / 2));
    device.feed(bytes.mid(bytes.size() / 2));
    return 0;
}

int FuzzArticleFileInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const char *begin = reinterpret_cast<const char *>(data) + 1;
    const char *const end = reinterpret_cast<const char *>(data) + size;
    // Cut into lines as the load does (LF or CR LF; the last line may lack its line end).
    for (const char *p = begin; p < end;) {
        const char *nl = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *lineEnd = nl ? nl : end;
        const char *e = lineEnd;
        if (e != p && e[-1] == '\r')
            --e;
        const QString line = Cp1251::decode(p, e - p);
        checkLine(line);
        p = nl ? nl + 1 : end;
    }
    if (data[0] == 0) {
        ArticlesSection &section = rig().window->articlesSection();
        ArticleModel &m = rig().window->articles();
        QStringList before;
        for (int c = 0; c < ArticleModel::kColumns; ++c)
            before << m.cell(c, 1);
        const bool loaded = section.loadArticlesFrom(scratchFile(begin, size_t(end - begin)));
        // Whatever the file holds, each row keeps its own number; a load that was refused or
        // declined leaves the table as it was.
        for (int r : {1, 2, 3000, ArticleModel::kArticles})
            if (m.cell(ArticleModel::Number, r) != QString::number(r))
                __builtin_trap();
        for (int c = 0; !loaded && c < ArticleModel::kColumns; ++c)
            if (m.cell(c, 1) != before[c])
                __builtin_trap();
    }
    return 0;
}

int FuzzLogoFileInput(const uint8_t *data, size_t size)
{
    static LogoSection *logo = rig().window->findChild<LogoSection *>();
    if (!logo)
        __builtin_trap();
    const QString path = scratchFile(reinterpret_cast<const char *>(data), size);
    if (logo->loadLogoFile(path) && (logo->logo().isNull() || logo->logo().hasAlphaChannel()))
        __builtin_trap();
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
            __builtin_trap();
        if (complete) {
            if (code->toStdString() != model.substr(0, model.size() - 2))
                __builtin_trap();
            model.clear();
            dropped = 0;
        }
        if (assembler.count() != int(model.size()) || assembler.collected().toStdString() != model ||
            assembler.dropped() != dropped)
            __builtin_trap();
    }
    return 0;
}
