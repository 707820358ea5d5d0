#include "LogoPng.h"

#include "ToolText.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace {

const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);
// The compressed picture data of a 256 x 128 logo: twice the largest raw size leaves room for
// any honest encoder, and keeps what an inflated stream can grow to within bounds.
constexpr qsizetype kMaxCompressed = 2 * 128 * (1 + 256 * 4) + 4096;

const std::array<quint32, 256> &crcTable()
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putBigEndian(QByteArray &out, quint32 v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

quint32 bigEndian(const QByteArray &bytes, qsizetype at)
{
    const auto b = [&](qsizetype i) { return quint32(uchar(bytes.at(at + i))); };
    return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

void appendChunk(QByteArray &out, const char *type, const QByteArray &data)
{
    putBigEndian(out, quint32(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out.append(typed);
    putBigEndian(out, LogoPng::crc32(typed));
}

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

struct Header {
    quint32 width = 0;
    quint32 height = 0;
    int depth = 0;
    int colour = 0;
    int interlace = 0;
    int channels() const
    {
        switch (colour) {
        case 0:
        case 3:
            return 1;
        case 4:
            return 2;
        case 2:
            return 3;
        default:
            return 4;
        }
    }
    int bitsPerPixel() const { return depth * channels(); }
    qsizetype rowBytes() const { return (qsizetype(width) * bitsPerPixel() + 7) / 8; }
};

// The colour types and depths read: grey 1/2/4/8, RGB 8, palette 1/2/4/8, grey-alpha 8, RGBA 8.
bool supported(const Header &h)
{
    switch (h.colour) {
    case 0:
    case 3:
        return h.depth == 1 || h.depth == 2 || h.depth == 4 || h.depth == 8;
    case 2:
    case 4:
    case 6:
        return h.depth == 8;
    default:
        return false;
    }
}

// Undoes the row filters in place; false for an unknown filter type.
bool unfilter(QByteArray &raw, const Header &h)
{
    const qsizetype stride = h.rowBytes();
    const int bpp = std::max(1, h.bitsPerPixel() / 8);
    std::vector<uchar> previous(size_t(stride), 0);
    for (quint32 y = 0; y < h.height; ++y) {
        uchar *row = reinterpret_cast<uchar *>(raw.data()) + qsizetype(y) * (stride + 1);
        const int filter = row[0];
        uchar *line = row + 1;
        for (qsizetype x = 0; x < stride; ++x) {
            const int a = x >= bpp ? line[x - bpp] : 0;
            const int b = previous[size_t(x)];
            const int c = x >= bpp ? previous[size_t(x - bpp)] : 0;
            int add = 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                add = a;
                break;
            case 2:
                add = b;
                break;
            case 3:
                add = (a + b) / 2;
                break;
            case 4:
                add = paeth(a, b, c);
                break;
            default:
                return false;
            }
            line[x] = uchar(line[x] + add);
        }
        std::copy(line, line + stride, previous.begin());
    }
    return true;
}

// The sample of `channel` of pixel x in an unfiltered row, scaled to 0..255.
int sample(const uchar *line, const Header &h, quint32 x, int channel)
{
    if (h.depth == 8)
        return line[size_t(x) * size_t(h.channels()) + size_t(channel)];
    const int perByte = 8 / h.depth;
    const int shift = 8 - h.depth * (int(x % quint32(perByte)) + 1);
    const int value = (line[x / quint32(perByte)] >> shift) & ((1 << h.depth) - 1);
    return h.colour == 3 ? value : value * 255 / ((1 << h.depth) - 1);
}

} // namespace

quint32 LogoPng::crc32(const QByteArray &bytes)
{
    const auto &table = crcTable();
    quint32 c = 0xFFFFFFFFu;
    for (const char ch : bytes)
        c = table[(c ^ uchar(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray LogoPng::encode(const LogoBitmap &bitmap)
{
    constexpr int kRowBytes = LogoBitmap::kWidth / 8;
    QByteArray raw;
    raw.reserve(LogoBitmap::kHeight * (1 + kRowBytes));
    for (int y = 0; y < LogoBitmap::kHeight; ++y) {
        raw.append('\0'); // no filter
        for (int xb = 0; xb < kRowBytes; ++xb) {
            uchar byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (!bitmap.dot(xb * 8 + bit, y)) // white is 1 in one-bit grey
                    byte |= uchar(0x80 >> bit);
            raw.append(char(byte));
        }
    }
    QByteArray header;
    putBigEndian(header, LogoBitmap::kWidth);
    putBigEndian(header, LogoBitmap::kHeight);
    header.append(char(1)).append(char(0)).append(char(0)).append(char(0)).append(char(0));

    QByteArray out = kSignature;
    appendChunk(out, "IHDR", header);
    // qCompress puts the raw size in four bytes before the zlib stream; PNG wants the stream alone.
    appendChunk(out, "IDAT", qCompress(raw, 9).mid(4));
    appendChunk(out, "IEND", {});
    return out;
}

bool LogoPng::decode(const QByteArray &png, LogoBitmap &bitmap, QString &error)
{
    const auto refuse = [&error](const QString &why) {
        error = why;
        return false;
    };
    if (!png.startsWith(kSignature))
        return refuse(ToolText::profilePngNotPng());
    Header h;
    bool haveHeader = false;
    bool ended = false;
    QByteArray compressed;
    std::vector<std::array<uchar, 4>> palette;
    qsizetype at = kSignature.size();
    while (!ended) {
        if (png.size() - at < 12)
            return refuse(ToolText::profilePngBroken(QStringLiteral("IEND")));
        const quint32 length = bigEndian(png, at);
        const QByteArray type = png.mid(at + 4, 4);
        if (length > quint32(png.size() - at - 12))
            return refuse(ToolText::profilePngBroken(QString::fromLatin1(type)));
        const QByteArray typed = png.mid(at + 4, 4 + qsizetype(length));
        const QByteArray data = typed.mid(4);
        if (crc32(typed) != bigEndian(png, at + 8 + qsizetype(length)))
            return refuse(ToolText::profilePngBroken(QString::fromLatin1(type)));
        at += 12 + qsizetype(length);

        if (!haveHeader && type != "IHDR")
            return refuse(ToolText::profilePngBroken(QStringLiteral("IHDR")));
        if (type == "IHDR") {
            if (haveHeader || data.size() != 13)
                return refuse(ToolText::profilePngBroken(QStringLiteral("IHDR")));
            h.width = bigEndian(data, 0);
            h.height = bigEndian(data, 4);
            h.depth = uchar(data.at(8));
            h.colour = uchar(data.at(9));
            h.interlace = uchar(data.at(12));
            if (uchar(data.at(10)) != 0 || uchar(data.at(11)) != 0 || h.interlace > 1)
                return refuse(ToolText::profilePngBroken(QStringLiteral("IHDR")));
            if (h.width != quint32(LogoBitmap::kWidth) || h.height != quint32(LogoBitmap::kHeight))
                return refuse(ToolText::profilePngSize(int(std::min<quint32>(h.width, 1u << 30)),
                                                       int(std::min<quint32>(h.height, 1u << 30))));
            if (!supported(h) || h.interlace != 0)
                return refuse(ToolText::profilePngKind());
            haveHeader = true;
        } else if (type == "PLTE") {
            if (data.size() % 3 != 0 || data.size() / 3 > 256 || !palette.empty())
                return refuse(ToolText::profilePngBroken(QStringLiteral("PLTE")));
            for (qsizetype i = 0; i < data.size(); i += 3)
                palette.push_back({uchar(data.at(i)), uchar(data.at(i + 1)), uchar(data.at(i + 2)), 255});
        } else if (type == "tRNS") {
            // Palette transparency only; grey and RGB colour keys are rare in a logo and left opaque.
            if (h.colour == 3)
                for (qsizetype i = 0; i < data.size() && size_t(i) < palette.size(); ++i)
                    palette[size_t(i)][3] = uchar(data.at(i));
        } else if (type == "IDAT") {
            compressed += data;
            if (compressed.size() > kMaxCompressed)
                return refuse(ToolText::profilePngBroken(QStringLiteral("IDAT")));
        } else if (type == "IEND") {
            ended = true;
        } else if (!(uchar(type.at(0)) & 0x20)) {
            // A chunk that a reader must understand, and this one does not.
            return refuse(ToolText::profilePngKind());
        }
    }
    if (h.colour == 3 && palette.empty())
        return refuse(ToolText::profilePngBroken(QStringLiteral("PLTE")));

    const qsizetype expected = qsizetype(h.height) * (h.rowBytes() + 1);
    QByteArray prefixed;
    putBigEndian(prefixed, quint32(expected));
    prefixed += compressed;
    QByteArray raw = compressed.isEmpty() ? QByteArray() : qUncompress(prefixed);
    if (raw.size() != expected || !unfilter(raw, h))
        return refuse(ToolText::profilePngBroken(QStringLiteral("IDAT")));

    LogoBitmap out;
    for (quint32 y = 0; y < h.height; ++y) {
        const auto *line = reinterpret_cast<const uchar *>(raw.constData()) + qsizetype(y) * (h.rowBytes() + 1) + 1;
        for (quint32 x = 0; x < h.width; ++x) {
            int r = 0, g = 0, b = 0, alpha = 255;
            switch (h.colour) {
            case 0:
                r = g = b = sample(line, h, x, 0);
                break;
            case 4:
                r = g = b = sample(line, h, x, 0);
                alpha = sample(line, h, x, 1);
                break;
            case 2:
            case 6:
                r = sample(line, h, x, 0);
                g = sample(line, h, x, 1);
                b = sample(line, h, x, 2);
                if (h.colour == 6)
                    alpha = sample(line, h, x, 3);
                break;
            case 3: {
                const auto index = size_t(sample(line, h, x, 0));
                if (index >= palette.size())
                    return refuse(ToolText::profilePngBroken(QStringLiteral("PLTE")));
                r = palette[index][0];
                g = palette[index][1];
                b = palette[index][2];
                alpha = palette[index][3];
                break;
            }
            default:
                break;
            }
            const int luminance = (299 * r + 587 * g + 114 * b) / 1000;
            out.setDot(int(x), int(y), alpha >= 128 && luminance < 128);
        }
    }
    bitmap = out;
    return true;
}
