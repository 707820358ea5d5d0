#pragma once
// A shop's printer saved as a quorvel-devsim state file, for tests that start it with --state.

#include "ArticleRecord.h"
#include "Cp1251.h"
#include "SimArticles.h"
#include "SimCatalogue.h"
#include "SimFiscal.h"
#include "SimMaintenance.h"
#include "SimulatedDevice.h"
#include "TaxpayerRecord.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A shop's printer: its taxpayer, rates, departments, 25 articles spread over the table, 20 cashiers
// and parameters of its own.
inline QString shopState(const QTemporaryDir &dir)
{
    SimulatedDevice d;
    auto *fiscal = d.module<SimFiscal>();
    TaxpayerRecord taxpayer;
    const char *texts[] = {"Краља Петра 12", "Петар Петровић", "Продавница Код Моста", "011/123-456", "12345678"};
    for (int i = 0; i < TaxpayerRecord::kFieldCount; ++i)
        taxpayer.fields[size_t(i)] = QString::fromUtf8(texts[i]);
    fiscal->setTaxpayer(taxpayer.encode());
    fiscal->setCashRegisterSerial(QStringLiteral("AB123456"));
    fiscal->setFiscalMemorySerial(QStringLiteral("FM654321"));
    QByteArray logo(SimFiscal::kLogoSize, '\0');
    for (int i = 0; i < logo.size(); ++i)
        logo[i] = char((i * 37 + i / 256) & 0xFF);
    fiscal->setLogo(logo);
    auto *catalogue = d.module<SimCatalogue>();
    catalogue->setRate(3, 500);
    for (int n = 1; n <= SimCatalogue::kDepartments; ++n)
        catalogue->setDepartmentName(n, QStringLiteral("Одељење %1").arg(n));
    auto *store = d.module<SimArticles>();
    for (int i = 0; i < 25; ++i) {
        const int n = 1 + i * 2400;
        ArticleRecord r = ArticleRecord::fresh(n);
        r.name = Cp1251::encode(QStringLiteral("Артикал %1").arg(n));
        r.price = uint32_t(n * 3 + 100);
        store->setArticle(n, r.encode());
    }
    for (int k = 1; k <= 20; ++k)
        store->setCashier(k, Cp1251::encode(QStringLiteral("Касир %1").arg(k)));
    for (int n = 0; n < SimMaintenance::kParameters; ++n)
        d.module<SimMaintenance>()->setParameter(n, uint16_t(500 + n));
    const QString path = dir.filePath(QStringLiteral("shop.json"));
    EXPECT_TRUE(d.saveToFile(path));
    return path;
}

// Gives cashier `number` a new name in a cashier table as `quorvel-cli read cashiers` wrote it to
// `path`; false when the file cannot be read or written.
inline bool renameCashier(const QString &path, int number, const QString &name)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QJsonObject table = QJsonDocument::fromJson(f.readAll()).object();
    f.close();
    QJsonArray list = table[QStringLiteral("cashiers")].toArray();
    if (number < 1 || number > list.size())
        return false;
    QJsonObject cashier = list[number - 1].toObject();
    cashier[QStringLiteral("name")] = name;
    list[number - 1] = cashier;
    table[QStringLiteral("cashiers")] = list;
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(QJsonDocument(table).toJson()) > 0;
}
