#include "ArticleFindBar.h"

#include "MakeWidget.h"

#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "IconOnShow.h"
#include "LinkView.h"
#include "ToolText.h"
#include "UiText.h"

#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTableView>

ArticleFindBar::ArticleFindBar(SectionHost &host, ArticlesSection &articles) : Section(host), articles_(articles)
{
    QGroupBox *g = articles_.gbArticles;
    // Beside the transfer buttons, below the grid.
    edtFind = makeWidget<QLineEdit>(g, "edtFind", QRect(328, 357, 76, 23));
    edtFind->setClearButtonEnabled(false);
    btnFind = makeWidget<QPushButton>(g, "btnFind", QRect(406, 356, 26, 25));
    setIconOnFirstShow(btnFind, [](QAbstractButton *b) {
        QIcon icon = QIcon::fromTheme(QStringLiteral("edit-find"));
        return icon.isNull() ? b->style()->standardIcon(QStyle::SP_FileDialogContentsView) : icon;
    });

    connect(btnFind, &QPushButton::clicked, this, &ArticleFindBar::btnFindClick);
    connect(edtFind, &QLineEdit::returnPressed, this, &ArticleFindBar::btnFindClick);
    // Ctrl+F anywhere on the article group (grid or form) goes to the search box; F3 finds the next.
    auto *focus = new QShortcut(QKeySequence::Find, g);
    focus->setContext(Qt::WidgetWithChildrenShortcut);
    connect(focus, &QShortcut::activated, this, [this] {
        edtFind->setFocus(Qt::ShortcutFocusReason);
        edtFind->selectAll();
    });
    auto *next = new QShortcut(QKeySequence::FindNext, g);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, &ArticleFindBar::btnFindClick);
}

void ArticleFindBar::activate()
{
    edtFind->setPlaceholderText(ToolText::ArticleFindPlaceholder());
    edtFind->setToolTip(ToolText::ArticleFindHint());
    btnFind->setToolTip(ToolText::ArticleFindHint());
}

void ArticleFindBar::btnFindClick()
{
    findNext(edtFind->text());
}

bool ArticleFindBar::findNext(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return false;
    QTableView *grid = articles_.sgArticles;
    const ArticleModel &model = articles_.model();
    const int current = articles_.currentRow();
    auto show = [&](int column, int r) {
        articles_.setCurrentCell(column, r);
        grid->scrollTo(model.index(r - 1, column), QAbstractItemView::PositionAtCenter);
    };

    if (const int n = ArticleModel::articleNumber(text); n != 0 && n != current) {
        const int column = grid->currentIndex().column();
        show(column > ArticleModel::Number ? column : int(ArticleModel::Name), n);
        return true;
    }
    for (int step = 1; step <= ArticleModel::kArticles; ++step) {
        const int r = (current - 1 + step) % ArticleModel::kArticles + 1;
        for (int column : {int(ArticleModel::Name), int(ArticleModel::Barcode)}) {
            if (model.cell(column, r).contains(text, Qt::CaseInsensitive)) {
                show(column, r);
                return true;
            }
        }
    }
    view().showDialog(UiText(Txt::TitleInfo), ToolText::ArticleNotFound().arg(text));
    return false;
}
