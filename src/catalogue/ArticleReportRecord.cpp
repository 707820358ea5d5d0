#include "ArticleReportRecord.h"

#include "ArticleModel.h"

ArticleReportRecord ArticleReportRecord::fromRow(const ArticleModel &model, int r)
{
    ArticleReportRecord rec;
    rec.sifra = model.cell(ArticleModel::Number, r).left(kSifraSize);
    rec.naziv = model.cell(ArticleModel::Name, r).left(kNazivSize);
    rec.barkod = model.cell(ArticleModel::Barcode, r).left(kBarkodSize);
    rec.cena = model.cell(ArticleModel::Price, r).left(kCenaSize);
    rec.stopa = model.cell(ArticleModel::Tax, r).left(kStopaSize);
    return rec;
}

QList<ArticleReportRecord> ArticleReportRecord::collect(const ArticleModel &model)
{
    QList<ArticleReportRecord> list;
    for (int r = kFirstRow; r <= kLastRow; ++r)
        if (!model.cell(ArticleModel::Name, r).isEmpty())
            list.append(fromRow(model, r));
    return list;
}
