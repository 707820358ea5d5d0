#include "ArticlesReport.h"

ArticlesReport::ArticlesReport(SectionHost &host, ArticlesSection &articles) : Section(host)
{
    (void)articles;
}
