#include "ArticleTransfer.h"

ArticleTransfer::ArticleTransfer(SectionHost &host, ArticlesSection &articles) : Section(host)
{
    (void)articles;
}
