#include "ArticleFileImport.h"

#include "ArticleFileFormat.h"
#include "ArticleRecord.h"
#include "Cp1251.h"
#include "ToolText.h"

#include <cstring>
#include <tuple>

namespace {
struct Span {
    const char *begin;
    qsizetype size;
};

// True when the bytes are valid UTF-8 and hold at least one character beyond ASCII (plain ASCII
// reads the same in both encodings). Windows-1251 Cyrillic text almost never passes: its letters
// are bytes 0xC0..0xFF, which UTF-8 only allows as the first byte of a sequence.
bool isUtf8Text(const char *bytes, qsizetype n)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes);
    bool beyondAscii = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2;
        else if (c >= 0xE0 && c <= 0xEF)
            length = 3;
        else if (c >= 0xF0 && c <= 0xF4)
            length = 4;
        else
            return false;
        if (i + length > n)
            return false;
        for (int k = 1; k < length; ++k)
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        // Overlong forms, surrogates and code points past U+10FFFF.
        const unsigned second = s[i + 1];
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
            (c == 0xF4 && second > 0x8F))
            return false;
        beyondAscii = true;
        i += length;
    }
    return beyondAscii;
}

bool isBlank(const Span &line)
{
    for (qsizetype i = 0; i < line.size; ++i)
        if (line.begin[i] != ' ' && line.begin[i] != '\t')
            return false;
    return true;
}

QString separatorName(QChar s)
{
    return s == u'\t' ? ToolText::ArticleFileTabSeparator() : QString(s);
}
} // namespace

void ArticleFileImport::Listing::add(int n)
{
    ++count;
    if (first.size() < kShown)
        first.append(n);
}

QString ArticleFileImport::Listing::text() const
{
    QStringList parts;
    for (int n : first)
        parts << QString::number(n);
    QString out = parts.join(QStringLiteral(", "));
    if (count > first.size())
        out += QStringLiteral(", …");
    return out;
}

int ArticleFileImport::nameCapacity()
{
    return ArticleRecord::kNameMaxChars;
}

int ArticleFileImport::barcodeCapacity()
{
    // Two packed digits per byte of the record's barcode field.
    return 2 * int(std::tuple_size_v<decltype(ArticleRecord::barcode)>);
}

ArticleFileImport ArticleFileImport::read(const QByteArray &bytes, const QLocale &locale)
{
    ArticleFileImport in;
    const char *p = bytes.constData();
    const char *const end = p + bytes.size();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        in.encoding = Encoding::Utf8;
        p += 3;
    } else if (isUtf8Text(p, end - p)) {
        in.encoding = Encoding::Utf8;
    }

    // Lines end with LF or CR LF; the last one need not end at all.
    std::vector<Span> lines;
    lines.reserve(size_t(ArticleModel::kArticles) + 1);
    while (p < end) {
        const char *nl = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *lineEnd = nl ? nl : end;
        const char *e = lineEnd;
        if (e != p && e[-1] == '\r')
            --e;
        lines.push_back({p, e - p});
        p = nl ? nl + 1 : end;
    }

    // The file's own separator, from the first line that begins as a saved line does.
    in.separator = ArticleFileFormat::listSeparator(locale);
    for (const Span &l : lines) {
        if (const auto s = ArticleFileFormat::separatorOf(l.begin, l.size)) {
            in.separator = QChar(u'\0' + *s);
            break;
        }
    }

    in.rows.resize(size_t(ArticleModel::kArticles));
    std::vector<int> lineOf(size_t(ArticleModel::kArticles), 0);
    const bool utf8 = in.encoding == Encoding::Utf8;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Span &l = lines[i];
        const int lineNo = int(i) + 1;
        if (isBlank(l))
            continue;
        const QString text = utf8 ? QString::fromUtf8(l.begin, l.size) : Cp1251::decode(l.begin, l.size);
        bool fits = false;
        ArticleFileFormat::Fields f = ArticleFileFormat::parseLine(text, in.separator, fits);
        const int n = ArticleModel::articleNumber(f[0]);
        if (n == 0) {
            in.notArticles.add(lineNo);
            continue;
        }
        if (!fits)
            in.misfits.add(lineNo);
        if (lineOf[size_t(n - 1)] != 0)
            in.repeated.add(lineNo);
        else
            ++in.articles;
        lineOf[size_t(n - 1)] = lineNo;
        in.rows[size_t(n - 1)] = {QString::number(n), std::move(f[1]), std::move(f[2]),
                                  std::move(f[3]),    std::move(f[4]), std::move(f[5])};
    }

    for (int r = 1; r <= ArticleModel::kArticles; ++r) {
        ArticleModel::Row &row = in.rows[size_t(r - 1)];
        if (lineOf[size_t(r - 1)] == 0)
            row = ArticleModel::startupRow(r, locale);
        else if (row[ArticleModel::Name].size() > nameCapacity() ||
                 row[ArticleModel::Barcode].size() > barcodeCapacity())
            in.tooLong.add(r);
    }
    return in;
}

bool ArticleFileImport::needsConfirmation() const
{
    return notArticles.count + misfits.count + repeated.count + tooLong.count > 0;
}

QString ArticleFileImport::question(const QString &fileName) const
{
    QStringList parts;
    parts << ToolText::ArticleFileSummary().arg(
        fileName, encoding == Encoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1251"),
        separatorName(separator), QString::number(articles));
    if (notArticles.count)
        parts << ToolText::ArticleFileNotArticles().arg(notArticles.count).arg(notArticles.text());
    if (misfits.count)
        parts << ToolText::ArticleFileMisfits().arg(misfits.count).arg(misfits.text());
    if (repeated.count)
        parts << ToolText::ArticleFileRepeated().arg(repeated.count).arg(repeated.text());
    if (tooLong.count)
        parts << ToolText::ArticleFileTooLong()
                     .arg(nameCapacity())
                     .arg(barcodeCapacity())
                     .arg(tooLong.count)
                     .arg(tooLong.text());
    parts << ToolText::ArticleFileLoadQuestion();
    return parts.join(u'\n');
}
