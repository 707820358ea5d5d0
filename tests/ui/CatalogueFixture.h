#pragma once
// Shared set-up of the catalogue page tests: an activated window on a recording transport.

#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "DeviceLink.h"
#include "TDialog.h"
#include "TestTransport.h"
#include "TfMain.h"

#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <memory>

// Sets the default locale for the life of the object.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) : old_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(old_); }

private:
    QLocale old_;
};

inline QLocale commaLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

class CatalogueTest : public ::testing::Test {
protected:
    // Builds the window under the current default locale.
    void build()
    {
        w = std::make_unique<TfMain>();
        w->FormActivate();
        w->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + QStringLiteral("|") + d.tekst->toPlainText());
            return 1;
        });
        w->link().setTransport(&t);
    }
    void SetUp() override { build(); }

    template <typename T> T *child(const char *name) const { return w->findChild<T *>(name); }
    template <typename S> S &section() const { return *w->findChild<S *>(); }
    // Plays a short reply from the device.
    void reply(uint8_t code, const QByteArray &data)
    {
        t.inject(QByteArray(1, char(0x5F)) + char(code) + char(data.size()) + data + char(0x0D));
    }
    int progress() const { return child<QProgressBar>("PBar")->value(); }

    TestTransport t;
    std::unique_ptr<TfMain> w;
    QStringList messages;
};
