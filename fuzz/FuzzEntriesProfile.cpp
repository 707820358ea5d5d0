#include "FuzzEntriesProfile.h"

#include "Profile.h"

#include <QByteArray>
#include <QJsonObject>

int FuzzProfileInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Profile profile;
    profile.toolVersion = QStringLiteral("before");
    profile.sets.insert(QStringLiteral("network"), QJsonObject{{QStringLiteral("tcpPort"), 1024}});
    const Profile before = profile;
    QString error;
    if (!ProfileFile::decode(bytes, profile, error)) {
        const bool untouched = profile.sets == before.sets && profile.toolVersion == before.toolVersion;
        return untouched && !error.isEmpty() ? 0 : 1;
    }
    const QByteArray written = ProfileFile::encode(profile);
    Profile back;
    if (!ProfileFile::decode(written, back, error) || back.sets != profile.sets || back.complete != profile.complete)
        return 2;
    return ProfileFile::encode(back) == written ? 0 : 3;
}
