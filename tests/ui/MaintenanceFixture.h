#pragma once
// A started main window on a recording transport, in a current directory of the test's own.

#include "DeviceLink.h"
#include "TDialog.h"
#include "TestTransport.h"
#include "TfMain.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

inline QByteArray hexBytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

class MaintenanceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        old = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(old);
    }
    // Starts the window; `ini` is the content of "fkase.ini" (none when null).
    void start(const QByteArray &ini = QByteArray())
    {
        if (!ini.isNull()) {
            QFile f(dir.filePath("fkase.ini"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(ini);
        }
        window = std::make_unique<TfMain>();
        window->FormActivate();
        window->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + QStringLiteral("|") + d.tekst->toPlainText());
            return 1;
        });
        window->link().setTransport(&transport);
    }
    template <typename T> T *child(const char *name)
    {
        T *w = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char *button) { child<QPushButton>(button)->click(); }
    void type(const char *edit, const QString &text) { child<QLineEdit>(edit)->setText(text); }
    QString text(const char *name)
    {
        if (auto *e = window->findChild<QLineEdit *>(QString::fromLatin1(name)))
            return e->text();
        if (auto *l = window->findChild<QLabel *>(QString::fromLatin1(name)))
            return l->text();
        if (auto *b = window->findChild<QAbstractButton *>(QString::fromLatin1(name)))
            return b->text();
        ADD_FAILURE() << "missing " << name;
        return {};
    }
    // Plays a reply from the device.
    void reply(const QByteArray &bytes) { transport.inject(bytes); }
    DeviceLink &link() { return window->link(); }
    // The leave-service-mode reply: the flag clears and every read button is off.
    void leaveServiceMode() { reply(hexBytes({0x5F, 0x10, 0x00, 0x0D})); }

    QTemporaryDir dir;
    QString old;
    TestTransport transport;
    std::unique_ptr<TfMain> window;
    QStringList messages;
};
