// Finding the characters that Windows-1251 cannot hold, before a write turns them into '?'.
#include "Cp1251.h"

#include <gtest/gtest.h>

namespace {
QString listed(const QList<char32_t> &found)
{
    QString s;
    for (char32_t c : found)
        s += QString::fromUcs4(&c, 1);
    return s;
}
} // namespace

TEST(Unencodable, AgreesWithTheEncoderForEveryCharacter)
{
    for (char32_t u = 1; u <= 0xFFFF; ++u) {
        if (QChar::isSurrogate(u))
            continue;
        const QString text = QString::fromUcs4(&u, 1);
        QList<char32_t> found;
        Cp1251::collectUnencodable(text, found);
        const bool lost = Cp1251::encode(text) == "?" && u != u'?';
        ASSERT_EQ(!found.isEmpty(), lost) << "U+" << std::hex << uint(u);
    }
}

TEST(Unencodable, EachCharacterOnceInOrderAcrossTexts)
{
    QList<char32_t> found;
    EXPECT_TRUE(Cp1251::collectUnencodable(QStringLiteral("Čačak, Шабац, Šid"), found));
    EXPECT_TRUE(Cp1251::collectUnencodable(QStringLiteral("Ćuprija Čačak Ђурђево Đ"), found));
    EXPECT_EQ(listed(found), QStringLiteral("ČčŠĆĐ"));
}

TEST(Unencodable, SurrogatePairIsOneCharacterAndALoneHalfIsLostToo)
{
    QList<char32_t> found;
    const QString emoji = QString::fromUcs4(U"a\U0001F600b\U0001F600");
    EXPECT_TRUE(Cp1251::collectUnencodable(emoji, found));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0], char32_t(0x1F600));
    found.clear();
    const QChar lone[] = {QChar(0xD83D), QChar('x')};
    EXPECT_TRUE(Cp1251::collectUnencodable(QStringView(lone, 2), found));
    EXPECT_EQ(found, QList<char32_t>{0xD83D});
}

TEST(Unencodable, StopsAtTheLimitAndSaysSo)
{
    QList<char32_t> found;
    EXPECT_TRUE(Cp1251::collectUnencodable(QStringLiteral("ČĆ"), found, 2));
    EXPECT_TRUE(Cp1251::collectUnencodable(QStringLiteral("Č"), found, 2)); // nothing new
    EXPECT_FALSE(Cp1251::collectUnencodable(QStringLiteral("Ž"), found, 2));
    EXPECT_EQ(listed(found), QStringLiteral("ČĆ"));
}
