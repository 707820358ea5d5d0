#include "DeviceErrors.h"

#include "UiText.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<const char *, 32> kBitTexts = {
    " Greska u fiskalnoj memoriji",
    " Greska u vremenu",
    " Greska u fiskalnom vremenu",
    " Nema papira u fiskalnom stampacu",
    " Visoka temperatura glave fiskalnog stampaca",
    " Prekoracenje u broju dnevnih izvestaja",
    " Prekoracenje u broju resetovanju RAM-a",
    " Rezervisano",
    " Pogresna komanda",
    " Nedefinisana poreska stopa/odeljenje",
    " Nedefinisan artikal",
    " Broj artikla je 0 ili veci od 60000",
    " Cena ili kolicina je 0",
    " Iznos za cenu, kolicinu ili placanje je veci od dozvoljenog",
    " Prekoracenje u dnevnom totalu",
    " Prekoracenje u baferu prodatih stavki ili stavki za placanje (max 10)",
    " Prekoracenje u broju prodatih/storniranih stavki u jednom fiskalnom isecku (max 1000)",
    " Prekoracenje u storniranju",
    " Problem kod storniranja (nije pronadjen artikal)",
    " Problem kod ponistenja",
    " Problem kod zaokruzivanja kolicine (format nije dobar)",
    " Prekoracenje u iznosu za placanje",
    " Pogresna vrsta placanja",
    " Iznos za placanje cekom ili karticom je veci od ukupnog iznosa za placanje",
    " Moguca promena (suma iznosa za placanje je veca ili jednaka od ukupnog iznosa za placanje",
    " Fiskalni stampac nije u odgovarajucem statusu za izvrsenje zadate operacije",
    " Pogresan parametar",
    " Prekoracenje u bazi artikala - ukupan iznos",
    " Prekoracenje u bazi artikala - jedan artikal",
    " Prekoracenje kolicine u bazi artikala",
    " Problem prilikom prodaje ili upisa artikla",
    " Prekoracenje u broju razlicitih artikala u bazi artikala",
};

constexpr std::pair<int, const char *> kCodeTexts[] = {
    {10, "Грешка сата"},
    {11, "Фискални сат - датум је мањи од последњег фискалног датума"},
    {12, "Дневни извештај мора да буде одштампан"},
    {13, "Грешка фискалне меморије"},
    {14, "Фискализација је већ урађена"},
    {15, "Нема пореског броја, прби бајт је 0"},
    {16, "Погрешан параметар"},
    {17, "Сервисни џампер није стављен"},
    {18, "Погрешно време"},
    {30, "Нови датум је мањи од последњег фискалног датума"},
    {31, "Промена је већ једном извршена"},
    {40, "Фискална меморија је пуна - пореске стопе"},
    {41, "Фискална меморија је пуна - блокови"},
    {42, "Фискална меморија је пуна - ресети"},
    {50, "Брисанје базе - није дозвољено"},
    {60, "Већ је уписан"},
    {70, "Нове пореске стопе имају исту вредност као и старе"},
};
} // namespace

QString DescribeDeviceError(uint8_t b12, uint8_t b13, uint8_t b14, uint8_t b15)
{
    const uint32_t word = (uint32_t(b12) << 24) | (uint32_t(b13) << 16) | (uint32_t(b14) << 8) | b15;
    QString out;
    for (int n = 0; n < 32; ++n) {
        if (word & (uint32_t(1) << n))
            out += QLatin1Char('/') + QString::fromLatin1(kBitTexts[size_t(n)]) + QLatin1Char('(') +
                   QString::number(n) + QLatin1Char(')');
    }
    return out;
}

QString DeviceErrorCodeText(int code)
{
    for (const auto &[c, text] : kCodeTexts)
        if (c == code)
            return QString::fromUtf8(text);
    return UiText(Txt::TryAgain);
}
