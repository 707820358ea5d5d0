#include "BarcodeReader.h"

BarcodeReader::BarcodeReader(SectionHost &host, ArticlesSection &articles) : Section(host)
{
    (void)articles;
}
