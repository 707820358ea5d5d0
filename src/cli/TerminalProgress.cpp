#include "TerminalProgress.h"

#include <cstdio>
#include <unistd.h>

TerminalProgress::TerminalProgress(bool enabled, const QString &caption) : enabled_(enabled), caption_(caption) {}

bool TerminalProgress::stderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

void TerminalProgress::show(int done, int total)
{
    if (!enabled_ || total <= 0)
        return;
    if (drawn_ && done < total && sinceDrawn_.isValid() && sinceDrawn_.elapsed() < 50)
        return;
    sinceDrawn_.start();
    drawn_ = true;
    constexpr int kWidth = 30;
    const int clamped = done < 0 ? 0 : (done > total ? total : done);
    const int filled = int(qint64(clamped) * kWidth / total);
    QString line = QStringLiteral("\r[") + QString(filled, QLatin1Char('#')) +
                   QString(kWidth - filled, QLatin1Char(' ')) + QStringLiteral("] %1/%2").arg(done).arg(total);
    if (!caption_.isEmpty())
        line += QStringLiteral("  %1 %2").arg(caption_).arg(done);
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void TerminalProgress::finish()
{
    if (!drawn_)
        return;
    drawn_ = false;
    std::fputc('\n', stderr);
    std::fflush(stderr);
}
