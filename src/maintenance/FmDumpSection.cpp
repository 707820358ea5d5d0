#include "FmDumpSection.h"

FmDumpSection::FmDumpSection(SectionHost &host, QWidget *page) : Section(host)
{
    (void)page;
}
