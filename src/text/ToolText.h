#pragma once
// The tool's own texts that the numbered UI text table does not hold: messages, captions and
// questions added since. Serbian Cyrillic, in the style of the table; each group keeps its texts together.

#include <QString>

namespace ToolText {

// Link, transports and connections

inline QString ConnectionLost()
{
    return QStringLiteral("Веза са фискалним принтером је прекинута.");
}

inline QString ConnectionNotOpen()
{
    return QStringLiteral("Веза са фискалним принтером није отворена.");
}

// The port exists but this user may not open it.
inline QString SerialPermissionDenied(const QString &port, const QString &group)
{
    return QStringLiteral("%1: нема дозволе за приступ порту. Корисник мора бити у групи %2 која поседује "
                          "порт (обично dialout); после додавања у групу одјавите се и поново пријавите.")
        .arg(port, group);
}

inline QString SerialPortInUse(const QString &port)
{
    return QStringLiteral("%1: порт већ користи други програм. Затворите тај програм или изаберите други порт.")
        .arg(port);
}

// Message dialog and main window

// Before a write: `characters` (listed with blanks between them) cannot be stored by the printer.
inline QString unencodableQuestion(const QString &characters)
{
    return QStringLiteral("Каса не може да упише ове знакове: %1. Биће уписани као \"?\". "
                          "Да ли желите да наставите упис?")
        .arg(characters);
}
// The factory number that the long frames carry, after "Пријава".
inline QString factoryNumberInUse(const QString &number)
{
    return QStringLiteral("Фабрички број: %1").arg(number);
}
inline QString factoryFileMissing()
{
    return QStringLiteral("Нема датотеке fkase.ini у радном директоријуму.");
}
inline QString factoryFileUnreadable(const QString &reason)
{
    return QStringLiteral("Датотека fkase.ini не може да се прочита: %1").arg(reason);
}
inline QString factoryLineNotANumber()
{
    return QStringLiteral("Први ред датотеке fkase.ini није број од највише шест цифара.");
}

// Article page

// Article file: the question before a load replaces the table, and the loads that are refused.
inline QString ArticleFileSummary()
{
    return QStringLiteral("Фајл „%1“ (%2, раздвојник „%3“), артикала у фајлу: %4.");
}
inline QString ArticleFileTabSeparator()
{
    return QStringLiteral("табулатор");
}
inline QString ArticleFileNotArticles()
{
    return QStringLiteral("Редови који нису артикли (заглавље, празан или погрешан број), прескачу се: %1 (ред %2).");
}
inline QString ArticleFileMisfits()
{
    return QStringLiteral("Редови који не одговарају распореду фајла артикала, учитавају се како гласе: %1 (ред %2).");
}
inline QString ArticleFileRepeated()
{
    return QStringLiteral("Артикли који се у фајлу понављају, важи каснији ред: %1 (ред %2).");
}
inline QString ArticleFileTooLong()
{
    return QStringLiteral("Артикли са пољем дужим од записа у каси (назив до %1, бар-код до %2 знакова), при уносу у "
                          "касу биће скраћени: %3 (артикал %4).");
}
inline QString ArticleFileLoadQuestion()
{
    return QStringLiteral("Да ли да се фајл учита у табелу артикала?");
}
inline QString ArticleFileNoArticles()
{
    return QStringLiteral("У фајлу „%1“ нема ниједног реда са бројем артикла (1..60000). Табела није промењена.");
}
inline QString ArticleFileTooBig()
{
    return QStringLiteral("Фајл „%1“ није учитан: већи је од %2 MB, што фајл артикала никад није.");
}

// Finding an article
inline QString ArticleFindPlaceholder()
{
    return QStringLiteral("Бр./назив");
}
inline QString ArticleFindHint()
{
    return QStringLiteral("Тражење артикла (Ctrl+F): број артикла прелази на тај ред; део назива или бар-кода "
                          "прелази на следећи артикал који га садржи (Enter или F3 за следећи).");
}
inline QString ArticleNotFound()
{
    return QStringLiteral("Ниједан артикал нема „%1“ у називу или бар-коду.");
}

// Articles report
inline QString ReportPrinted()
{
    return QStringLiteral("Одштампано: %1");
}
inline QString ReportCashRegisterSerial()
{
    return QStringLiteral("Серијски број касе: %1");
}
inline QString ReportFiscalMemorySerial()
{
    return QStringLiteral("Серијски број ФМ: %1");
}
inline QString ReportPage()
{
    return QStringLiteral("Страна %1 од %2");
}
inline QString ReportRowsNote()
{
    return QStringLiteral("Садржи редове %1..%2 табеле артикала, само оне са називом.");
}

// Busy device, transfers and their ends
// A device operation was asked for while another one (named) still runs.
inline QString deviceBusy(const QString &running)
{
    return QStringLiteral("Фискални принтер је заузет: у току је %1. Сачекајте да се заврши или је прекините.")
        .arg(running);
}
// The chains, as the busy message and the exit question name them.
inline QString articlesReadName()
{
    return QStringLiteral("читање артикала");
}
inline QString articlesWriteName()
{
    return QStringLiteral("упис артикала");
}
inline QString cashiersReadName()
{
    return QStringLiteral("читање касира");
}
inline QString cashiersWriteName()
{
    return QStringLiteral("упис касира");
}
inline QString logoReadName()
{
    return QStringLiteral("читање логотипа");
}
inline QString logoWriteName()
{
    return QStringLiteral("упис логотипа");
}
inline QString memoryDumpName()
{
    return QStringLiteral("читање фискалне меморије");
}
// "Излаз" while a chain runs.
inline QString exitDuringTransfer()
{
    return QStringLiteral("Пренос података са фискалним принтером је у току. Да ли желите да га прекинете и "
                          "изађете из програма?");
}
// How an article transfer ended; `done` is the number of articles read or written.
inline QString articlesReadCompleted(int done)
{
    return QStringLiteral("Читање артикала је завршено. Прочитано артикала: %1.").arg(done);
}
inline QString articlesWriteCompleted(int done)
{
    return QStringLiteral("Упис артикала је завршен. Уписано артикала: %1.").arg(done);
}
inline QString articlesReadCancelled(int at, int done)
{
    return QStringLiteral("Читање артикала је прекинуто код артикла број %1. Прочитано артикала: %2.")
        .arg(at)
        .arg(done);
}
inline QString articlesWriteCancelled(int at, int done)
{
    return QStringLiteral("Упис артикала је прекинут код артикла број %1. Уписано артикала: %2.").arg(at).arg(done);
}
inline QString articlesReadStopped(int at, int done)
{
    return QStringLiteral("Читање артикала је заустављено код артикла број %1. Прочитано артикала: %2.")
        .arg(at)
        .arg(done);
}
inline QString articlesWriteStopped(int at, int done)
{
    return QStringLiteral("Упис артикала је заустављен код артикла број %1. Уписано артикала: %2.").arg(at).arg(done);
}
// The article a device error answered.
inline QString errorConcernsArticle(int article)
{
    return QStringLiteral("Грешка се односи на артикал број %1.").arg(article);
}
// Captions of the two transfer counters.
inline QString articleCounterCaption()
{
    return QStringLiteral("артикал");
}
inline QString replyCounterCaption()
{
    return QStringLiteral("одговор");
}

// Other sections

// Data sets as JSON (command-line tool, profiles): what is wrong with a field
inline QString JsonMissing()
{
    return QStringLiteral("недостаје");
}
inline QString JsonExpectedText()
{
    return QStringLiteral("очекиван је текст");
}
inline QString JsonExpectedObject()
{
    return QStringLiteral("очекиван је објекат");
}
inline QString JsonExpectedList()
{
    return QStringLiteral("очекивана је листа");
}
inline QString JsonTrueOrFalse()
{
    return QStringLiteral("очекивано је true или false");
}
inline QString JsonWholeNumber(qint64 min, qint64 max)
{
    return QStringLiteral("очекиван је цео број од %1 до %2").arg(min).arg(max);
}
inline QString JsonTooLong(int maxLength)
{
    return QStringLiteral("дуже од %1 знакова").arg(maxLength);
}
inline QString JsonTooMany(int maxSize)
{
    return QStringLiteral("више од %1 ставки").arg(maxSize);
}
// Characters (listed with blanks between them) that Windows-1251 cannot hold: nothing is sent.
inline QString unencodableRefused(const QString &characters)
{
    return QStringLiteral("Каса не може да упише ове знакове: %1. Ништа није послато.").arg(characters);
}
// A write was sent and the device gave no answer to it in time.
inline QString noAnswerToWrite()
{
    return QStringLiteral("Фискални принтер није одговорио на упис.");
}

// Fiscal data sets (identity, taxpayer, clock, lines, logo)
// The fiscal identity is only read outside the window.
inline QString fiscalNotWritable()
{
    return QStringLiteral("Фискални подаци се уписују само једном, у прозору програма, после питања. Овде могу "
                          "само да се читају.");
}
inline QString JsonExpectedDate()
{
    return QStringLiteral("очекиван је постојећи датум облика YYYY-MM-DD");
}
inline QString JsonExpectedTime()
{
    return QStringLiteral("очекивано је време облика HH:MM:SS");
}
inline QString JsonExactCount(int count)
{
    return QStringLiteral("очекиван је тачан број ставки: %1").arg(count);
}
// The device keeps the year as (year - 1900) in one byte.
inline QString clockYearOutOfRange()
{
    return QStringLiteral("година мора бити од 1900 до 2155");
}
// A clock setting that is not later than the device's last fiscal date-time (`bound`, as text).
inline QString clockNotAfterFiscal(const QString &bound)
{
    return QStringLiteral("Ново време мора бити после последњег фискалног датума и времена (%1). Ништа није "
                          "уписано.")
        .arg(bound);
}
inline QString logoRowExpected()
{
    return QStringLiteral("очекивано је 128 редова од по 256 знакова „#“ (тачка) или „.“ (празно)");
}

// Catalogue data sets (tax groups, departments, articles, cashiers)
inline QString catalogueExactItems(int count)
{
    return QStringLiteral("очекивано је тачно %1 ставки").arg(count);
}
inline QString catalogueNumberExpected(int number)
{
    return QStringLiteral("очекиван је број %1 (ставке иду редом)").arg(number);
}
inline QString catalogueNameTooShort(int minLength)
{
    return QStringLiteral("мора имати најмање %1 знака").arg(minLength);
}
inline QString taxGroupLetterExpected(const QString &letter)
{
    return QStringLiteral("очекивано је слово %1 (групе иду редом А, Г, Д, Ђ, Е, Ж, И, Ј, К)").arg(letter);
}
inline QString taxRateExpected()
{
    return QStringLiteral("очекивана је стопа од 0 до 99.99 као текст, са тачком и највише две децимале, "
                          "или null за недефинисану групу");
}
// Asked before the tax rates are written.
inline QString taxGroupsWriteQuestion()
{
    return QStringLiteral("Упис пореских стопа троши једну од 30 промена које фискални принтер дозвољава. "
                          "Да ли желите да наставите упис?");
}
// The device already holds exactly these rates: nothing was written, no change was used.
inline QString taxRatesAlreadyThere()
{
    return QStringLiteral("Фискални принтер већ има исте пореске стопе. Ништа није уписано.");
}
inline QString cashierAfterUndefined()
{
    return QStringLiteral("касир са именом не може доћи иза касира без имена (null): каса их уписује редом");
}
// The write chain stopped because the device asked for a cashier the data do not hold.
inline QString cashierUnexpectedRequest(int number)
{
    return QStringLiteral("Фискални принтер је тражио касира %1. Упис је прекинут.").arg(number);
}

// Articles: the write chain, and what is wrong with an article of the JSON form.
// The device asked the write for an article number that does not exist.
inline QString articleDoesNotExist(int article)
{
    return QStringLiteral("Фискални принтер је тражио артикал број %1, који не постоји. Упис је прекинут.")
        .arg(article);
}
// `entry` names the earlier entry ("articles[2]") that has the same article number.
inline QString JsonArticleRepeated(const QString &entry)
{
    return QStringLiteral("артикал са тим бројем је већ наведен у ставци %1").arg(entry);
}
inline QString JsonArticlePrice()
{
    return QStringLiteral("очекивана је цена као „12.50“: цифре, највише две децимале иза тачке, од 0 до 9999999.99");
}
inline QString JsonArticleBarcode(int maxDigits)
{
    return QStringLiteral("очекиване су само цифре, највише %1").arg(maxDigits);
}
// `letters` lists the tax-group letters.
inline QString JsonArticleTaxGroup(const QString &letters)
{
    return QStringLiteral("очекивано је једно од слова %1").arg(letters);
}
inline QString JsonControlCharacters()
{
    return QStringLiteral("садржи контролне знакове");
}
inline QString JsonUnknownField()
{
    return QStringLiteral("непознато поље");
}

// Maintenance (network, parameters, memory dump, self-tests, clock shift, login)
// The device answered the memory dump with another block than the one asked for, or an incomplete one.
inline QString memoryDumpBadBlock(int block, int expected)
{
    return QStringLiteral("Фискални принтер је послао неисправан блок %1 (очекиван је блок %2). "
                          "Читање фискалне меморије је прекинуто.")
        .arg(block)
        .arg(expected);
}
// Data sets as JSON: a network address that is not four numbers 0..255 with dots between them.
inline QString JsonExpectedAddress()
{
    return QStringLiteral("очекивана је адреса као 192.168.0.20");
}
// Data sets as JSON: the same parameter number twice in one write.
inline QString JsonParameterTwice(int number)
{
    return QStringLiteral("параметар %1 је наведен више пута").arg(number);
}

// Command-line tool

// The device named on the command line could not be reached.
inline QString cliConnectFailed(const QString &device, const QString &reason)
{
    return QStringLiteral("Веза са фискалним принтером (%1) није успостављена: %2").arg(device, reason);
}
// `write fiscal`: the fiscal identity is written once, in the window.
inline QString cliFiscalNotWritable()
{
    return QStringLiteral("Фискални подаци се не уписују из командне линије: фискализација се ради једном, "
                          "у прозору програма, уз његово питање.");
}
// After a write question: how to answer it.
inline QString cliAnswerYesNo()
{
    return QStringLiteral(" (y/n) ");
}
inline QString cliWriteNotConfirmed()
{
    return QStringLiteral("Упис није потврђен. Ништа није послато.");
}
// A write that asks first, with no terminal to ask on.
inline QString cliQuestionNeedsTerminal()
{
    return QStringLiteral("Упис захтева потврду, а нема терминала за питање. Додајте --yes ако је упис намеран. "
                          "Ништа није послато.");
}
// A question of the link, declined because a command line answers no questions.
inline QString cliQuestionDeclined(const QString &question)
{
    return QStringLiteral("%1\nОдговор: не (командна линија не одговара на питања).").arg(question);
}
inline QString cliFileUnreadable(const QString &path, const QString &reason)
{
    return QStringLiteral("Датотека „%1“ не може да се прочита: %2").arg(path, reason);
}
inline QString cliFileNotJson(const QString &path, const QString &error, int offset)
{
    return QStringLiteral("Датотека „%1“ није исправан JSON: %2 (знак %3). Ништа није послато.")
        .arg(path, error)
        .arg(offset);
}
inline QString cliFileUnwritable(const QString &path, const QString &reason)
{
    return QStringLiteral("Датотека „%1“ не може да се упише: %2").arg(path, reason);
}
// The fiscal memory did not come back whole.
inline QString cliMemoryIncomplete(int bytes, int expected)
{
    return QStringLiteral("Фискална меморија није прочитана цела: %1 од %2 бајтова.").arg(bytes).arg(expected);
}
// Ctrl-C: the running operation was broken off.
inline QString cliInterrupted()
{
    return QStringLiteral("Прекинуто (Ctrl-C).");
}

// ---- Menu bar ----
inline QString menuProfile()
{
    return QStringLiteral("Профил");
}
inline QString menuView()
{
    return QStringLiteral("Преглед");
}

// ---- Whole-device profiles ----
// The profile file: what is wrong with it. Nothing is changed when a file is refused.
inline QString profileNotJson(const QString &error, int line, int column)
{
    return QStringLiteral("није исправан JSON: %1 (ред %2, знак %3).").arg(error).arg(line).arg(column);
}
inline QString profileNotAProfile()
{
    return QStringLiteral("није профил уређаја (поље „format“ није „quorvel-profile“).");
}
inline QString profileNewerVersion(qint64 version, int supported)
{
    return QStringLiteral("записан је новијом верзијом формата профила (%1), а овај програм чита верзију %2. "
                          "Потребна је новија верзија програма.")
        .arg(version)
        .arg(supported);
}
inline QString profileBadField(const QString &field, const QString &problem)
{
    return QStringLiteral("поље „%1“: %2.").arg(field, problem);
}
inline QString profileExpectedTime()
{
    return QStringLiteral("очекивано је време облика 2026-12-09T10:00:00Z");
}
inline QString profileUnknownSet(const QString &set)
{
    return QStringLiteral("садржи непознат скуп података „%1“.").arg(set);
}
// `error` names the field ("taxpayer.address: очекиван је текст").
inline QString profileSetInvalid(const QString &set, const QString &error)
{
    return QStringLiteral("скуп „%1“ није исправан: %2").arg(set, error);
}
inline QString profileTooBig(int megabytes)
{
    return QStringLiteral("већи је од %1 MB, што профил уређаја никад није.").arg(megabytes);
}
inline QString profileInFile(const QString &path, const QString &problem)
{
    return QStringLiteral("Профил „%1“ %2 Ништа није промењено.").arg(path, problem);
}
inline QString profileFileUnreadable(const QString &path, const QString &reason)
{
    return QStringLiteral("Профил „%1“ не може да се прочита: %2").arg(path, reason);
}
inline QString profileFileUnwritable(const QString &path, const QString &reason)
{
    return QStringLiteral("Профил „%1“ не може да се упише: %2. Претходна датотека није промењена.").arg(path, reason);
}
// The logo inside a profile file, a PNG picture.
inline QString profilePngNotBase64()
{
    return QStringLiteral("очекивана је PNG слика као base64 текст");
}
inline QString profilePngNotPng()
{
    return QStringLiteral("није PNG слика");
}
// `part` is the name of the PNG chunk that does not check out.
inline QString profilePngBroken(const QString &part)
{
    return QStringLiteral("PNG слика је оштећена (део %1)").arg(part);
}
inline QString profilePngSize(int width, int height)
{
    return QStringLiteral("лого мора бити слика од 256 × 128 тачака, а ова је %1 × %2").arg(width).arg(height);
}
inline QString profilePngKind()
{
    return QStringLiteral("ова врста PNG слике се не чита: читају се сиве слике од 1, 2, 4 или 8 бита, сиве са "
                          "провидношћу, RGB и RGBA од 8 бита и слике са палетом, без преплитања");
}
// The comparison of a profile with a device, set by set.
inline QString compareEqual()
{
    return QStringLiteral("исто");
}
inline QString compareDifferent()
{
    return QStringLiteral("разликује се");
}
inline QString compareNotInProfile()
{
    return QStringLiteral("нема у профилу");
}
inline QString compareNotRead()
{
    return QStringLiteral("није прочитано са уређаја");
}
inline QString compareMissingValue()
{
    return QStringLiteral("(нема)");
}
inline QString compareArticlesCount(int count, const QString &numbers)
{
    return QStringLiteral("артикала који се разликују: %1 (бројеви: %2)").arg(count).arg(numbers);
}
// One differing article: its fields, "field: profile → device", with "; " between them.
inline QString compareArticleLine(int number, const QString &fields)
{
    return QStringLiteral("артикал %1: %2").arg(number).arg(fields);
}
inline QString compareLogoDots(int dots)
{
    return QStringLiteral("тачака логоа које се разликују: %1").arg(dots);
}
// Said once above the comparison, not counted as a difference.
inline QString compareOtherPrinter(const QString &profile, const QString &device)
{
    return QStringLiteral("Профил је узет са другог фискалног принтера (у профилу %1, на уређају %2). Идентитет "
                          "се не пореди и не уписује.")
        .arg(profile, device);
}

// Backup, compare and restore runs: the steps, the restore's question and the report.
inline QString profileStepReading()
{
    return QStringLiteral("читање");
}
inline QString profileStepWriting()
{
    return QStringLiteral("упис");
}
inline QString profileStepVerifying()
{
    return QStringLiteral("провера");
}
inline QString profileBusy()
{
    return QStringLiteral("Рад са профилом је већ у току.");
}
inline QString profileReadFailed(const QString &set, const QString &reason)
{
    return QStringLiteral("Скуп „%1“ није прочитан: %2").arg(set, reason.isEmpty() ? QStringLiteral("—") : reason);
}
inline QString profileWriteFailed(const QString &set, const QString &reason)
{
    return QStringLiteral("Упис скупа „%1“ је прекинут: %2").arg(set, reason.isEmpty() ? QStringLiteral("—") : reason);
}
inline QString profileVerifyFailed(const QString &set, const QString &reason)
{
    return QStringLiteral("Скуп „%1“ је уписан, али провера није могла да га прочита: %2")
        .arg(set, reason.isEmpty() ? QStringLiteral("—") : reason);
}
// A set the device refused before anything was sent (its data did not check out); the others go on.
inline QString profileSetRefused(const QString &set, const QString &reason)
{
    return QStringLiteral("Скуп „%1“ није уписан: %2").arg(set, reason);
}
inline QString profileMismatch(const QString &set, const QString &differences)
{
    return QStringLiteral("Провера после уписа: скуп „%1“ на уређају се разликује од профила: %2")
        .arg(set, differences);
}
inline QString profileArticlesMismatch(const QString &numbers)
{
    return QStringLiteral("артикли који се после уписа разликују: %1").arg(numbers);
}
inline QString profileUnknownSetName(const QString &set)
{
    return QStringLiteral("Непознат скуп података „%1“.").arg(set);
}
inline QString profileSetNotRestored(const QString &set)
{
    return QStringLiteral("Скуп „%1“ се не враћа из профила (фискални идентитет се уписује једном, у прозору "
                          "програма; сат није у профилу).")
        .arg(set);
}
inline QString profileSetNotInProfile(const QString &set)
{
    return QStringLiteral("Профил нема скуп „%1“.").arg(set);
}
inline QString profileNothingToRestore()
{
    return QStringLiteral("Профил нема ниједан скуп који може да се упише.");
}
inline QString profileNotPrepared()
{
    return QStringLiteral("Враћање профила није припремљено.");
}
inline QString profileTaxGroupsEqual()
{
    return QStringLiteral("Пореске стопе на уређају су исте као у профилу: не уписују се.");
}
inline QString profileTaxGroupsNoChangeLeft()
{
    return QStringLiteral("Пореске стопе се разликују, али фискални принтер нема више ниједну промену стопа: "
                          "пореске групе се прескачу.");
}
// `left` is the device's remaining rate changes before the write (-1: not known).
inline QString profileTaxGroupsChange(int left)
{
    if (left < 0)
        return QStringLiteral("Пореске стопе се разликују: њихов упис троши једну од преосталих промена стопа.");
    return QStringLiteral("Пореске стопе се разликују: њихов упис троши једну од преосталих промена стопа "
                          "(сада их има %1, после уписа %2).")
        .arg(left)
        .arg(left - 1);
}
inline QString profileCloneQuestion(const QString &profile, const QString &device)
{
    return QStringLiteral("Профил је узет са другог фискалног принтера: серијски бројеви се разликују (у профилу "
                          "%1, на овом принтеру %2). Идентитет, сат и фискална меморија се не копирају.")
        .arg(profile, device);
}
inline QString profileRestoreSets(const QString &sets)
{
    return QStringLiteral("У фискални принтер биће уписано: %1.").arg(sets);
}
inline QString profileRestoreAsk()
{
    return QStringLiteral("Да ли желите да наставите упис?");
}
// Report lines: each takes the list of sets as %1.
inline QString profileReportRead()
{
    return QStringLiteral("Прочитано: %1");
}
inline QString profileReportVerified()
{
    return QStringLiteral("Уписано и проверено: %1");
}
inline QString profileReportWritten()
{
    return QStringLiteral("Уписано (без провере): %1");
}
inline QString profileReportWrittenNotVerified()
{
    return QStringLiteral("Уписано, није проверено: %1");
}
inline QString profileReportUnchanged()
{
    return QStringLiteral("Без измена (уређај већ има исто): %1");
}
inline QString profileReportMismatch()
{
    return QStringLiteral("Уписано, али се после уписа разликује: %1");
}
inline QString profileReportHalfWritten()
{
    return QStringLiteral("Делимично уписано: %1");
}
inline QString profileReportNotWrittenFailed()
{
    return QStringLiteral("Није уписано због грешке: %1");
}
inline QString profileReportNotReadFailed()
{
    return QStringLiteral("Није прочитано због грешке: %1");
}
inline QString profileReportSkipped()
{
    return QStringLiteral("Прескочено: %1");
}
inline QString profileReportNotWritten()
{
    return QStringLiteral("Није уписано: %1");
}
inline QString profileReportNotRead()
{
    return QStringLiteral("Није прочитано: %1");
}
inline QString profileReportRunAgain()
{
    return QStringLiteral("Поновите враћање профила да бисте довршили посао.");
}

// The command-line tool's profile commands.
inline QString cliProfileQuestionNeedsTerminal()
{
    return QStringLiteral("Враћање профила захтева потврду, а нема терминала за питање. Додајте --yes ако је упис "
                          "намеран. Ништа није послато.");
}
inline QString cliProfileSavedIncomplete(const QString &path)
{
    return QStringLiteral("Профил „%1“ је сачуван непотпун: садржи само скупове прочитане пре грешке.").arg(path);
}
inline QString cliProfileIncompleteNote()
{
    return QStringLiteral("Профил је непотпун (резервна копија је прекинута): уписују се само скупови које садржи.");
}

// ---- Whole-device profiles in the window ----

// The Profile menu's items.
inline QString profileMenuBackup()
{
    return QStringLiteral("Сачувај профил уређаја…");
}
inline QString profileMenuCompare()
{
    return QStringLiteral("Упореди уређај са профилом…");
}
inline QString profileMenuRestore()
{
    return QStringLiteral("Врати профил у уређај…");
}
// File dialogs: captions and the filter.
inline QString profileSaveCaption()
{
    return QStringLiteral("Чување профила уређаја");
}
inline QString profileOpenCompareCaption()
{
    return QStringLiteral("Профил за поређење са уређајем");
}
inline QString profileOpenRestoreCaption()
{
    return QStringLiteral("Профил за враћање у уређај");
}
inline QString profileFileFilter()
{
    return QStringLiteral("Профил уређаја (*.qvp)");
}
// A data set's name as the window shows it; an unknown name is shown as it is.
inline QString profileSetTitle(const QString &set)
{
    static const struct {
        const char *name;
        const char *title;
    } titles[] = {{"fiscal", "Фискални подаци"},
                  {"taxpayer", "Подаци о трговцу"},
                  {"clock", "Време и датум"},
                  {"lines", "Заглавље, подножје и дисплеј"},
                  {"logo", "Лого"},
                  {"taxgroups", "Пореске групе"},
                  {"departments", "Одељења"},
                  {"articles", "Артикли"},
                  {"cashiers", "Касири"},
                  {"network", "Мрежна подешавања"},
                  {"parameters", "Параметри"}};
    for (const auto &t : titles)
        if (set == QLatin1String(t.name))
            return QString::fromUtf8(t.title);
    return set;
}
// The progress window of a run.
inline QString profileProgressCaption()
{
    return QStringLiteral("Профил уређаја");
}
// What a run does now: `what` is the step ("читање", "упис", "провера"), `set` the set's name.
inline QString profileStepLabel(const QString &what, const QString &set)
{
    const QString step = what.isEmpty() ? what : what.left(1).toUpper() + what.mid(1);
    return QStringLiteral("%1: %2…").arg(step, set);
}
inline QString profileStepPreparing()
{
    return QStringLiteral("Читање података потребних за упис…");
}
inline QString profileCancel()
{
    return QStringLiteral("Прекини");
}
// A run is asked for while one is going.
inline QString profileRunGoing()
{
    return QStringLiteral("Рад са профилом уређаја је већ у току. Сачекајте да се заврши или га прекините.");
}
inline QString profileNotConnected()
{
    return QStringLiteral("Веза са фискалним принтером није отворена. Отворите је (COM порт или ИП адреса) "
                          "па покушајте поново. Ништа није послато.");
}
inline QString profileSaved(const QString &path, int sets)
{
    return QStringLiteral("Профил уређаја је сачуван у „%1“ (скупова података: %2).").arg(path).arg(sets);
}
inline QString profileSavedIncomplete(const QString &path, int sets)
{
    return QStringLiteral("Непотпун профил уређаја је сачуван у „%1“ (скупова података: %2).").arg(path).arg(sets);
}
inline QString profileNotSaved(const QString &path, const QString &error)
{
    return QStringLiteral("Профил уређаја није сачуван у „%1“: %2").arg(path, error);
}
// A backup broken off by a fault at `set`: what happened, and whether to keep what was read.
inline QString profileBackupFaultQuestion(const QString &set, const QString &reason, int read, int total)
{
    return QStringLiteral("Скуп „%1“ није прочитан: %2\nПрочитано је %3 од %4 скупова. Да ли желите да их "
                          "сачувате као непотпун профил?")
        .arg(set, reason)
        .arg(read)
        .arg(total);
}
inline QString profileBackupCancelled()
{
    return QStringLiteral("Читање профила уређаја је прекинуто. Ништа није сачувано.");
}
inline QString profileCompareFault(const QString &set, const QString &reason)
{
    return QStringLiteral("Поређење није завршено: скуп „%1“ није прочитан: %2").arg(set, reason);
}
inline QString profileCompareCancelled()
{
    return QStringLiteral("Поређење са профилом је прекинуто.");
}
inline QString profilePrepareFailed(const QString &reason)
{
    return QStringLiteral("Упис профила није почео: %1\nНишта није уписано.").arg(reason);
}
inline QString profileRestoreNotConfirmed()
{
    return QStringLiteral("Упис профила није потврђен. Ништа није уписано.");
}
// A fault without words of its own.
inline QString profileFaultUnnamed()
{
    return QStringLiteral("грешка у комуникацији");
}
// The comparison window.
inline QString profileComparisonCaption()
{
    return QStringLiteral("Поређење уређаја са профилом");
}
inline QString profileComparisonProfile(const QString &path, const QString &taken)
{
    return QStringLiteral("Профил: %1 (снимљен %2)").arg(path, taken);
}
inline QString profileComparisonEqual()
{
    return QStringLiteral("Уређај је исти као профил.");
}
inline QString profileComparisonDifferent(int sets)
{
    return QStringLiteral("Скупова података са разликама: %1.").arg(sets);
}
inline QString profileComparisonNotRead(int sets)
{
    return QStringLiteral("Скупова који нису прочитани: %1.").arg(sets);
}
inline QString profileColumnSet()
{
    return QStringLiteral("Скуп података");
}
inline QString profileColumnState()
{
    return QStringLiteral("Стање");
}
inline QString profileColumnDifferences()
{
    return QStringLiteral("Разлике (профил → уређај)");
}
inline QString profileStateEqual()
{
    return QStringLiteral("исто");
}
inline QString profileStateDifferent()
{
    return QStringLiteral("различито");
}
inline QString profileStateNotInProfile()
{
    return QStringLiteral("нема у профилу");
}
inline QString profileStateNotRead()
{
    return QStringLiteral("није прочитано");
}
inline QString profilePrint()
{
    return QStringLiteral("Штампа…");
}
inline QString profileSavePdf()
{
    return QStringLiteral("Сачувај као PDF…");
}
inline QString profileClose()
{
    return QStringLiteral("Затвори");
}
inline QString profilePdfFilter()
{
    return QStringLiteral("PDF документ (*.pdf)");
}
inline QString profilePdfSaved(const QString &path)
{
    return QStringLiteral("Поређење је сачувано у „%1“.").arg(path);
}
inline QString profilePdfNotSaved(const QString &path)
{
    return QStringLiteral("PDF датотека „%1“ не може да се упише.").arg(path);
}
// The report window after a restore.
inline QString profileRestoreReportCaption()
{
    return QStringLiteral("Упис профила у уређај");
}
inline QString profileRestoreDone()
{
    return QStringLiteral("Профил је уписан у уређај.");
}
inline QString profileRestoreBroken()
{
    return QStringLiteral("Упис профила није завршен. Поновите упис да би се завршио.");
}
inline QString profileRestoreMismatch()
{
    return QStringLiteral("Профил је уписан, али провера уписа је нашла разлике (видети испод).");
}
// How one set fared, in the report window's table.
inline QString profileOutcomeRead()
{
    return QStringLiteral("прочитано");
}
inline QString profileOutcomeWritten()
{
    return QStringLiteral("уписано");
}
inline QString profileOutcomeVerified()
{
    return QStringLiteral("уписано и проверено");
}
inline QString profileOutcomeUnchanged()
{
    return QStringLiteral("без измена (уређај већ има исто)");
}
inline QString profileOutcomeSkipped()
{
    return QStringLiteral("прескочено");
}
inline QString profileOutcomeHalfWritten()
{
    return QStringLiteral("делимично уписано");
}
inline QString profileOutcomeFailed()
{
    return QStringLiteral("није уписано због грешке");
}
inline QString profileOutcomeNotStarted()
{
    return QStringLiteral("није уписано");
}
inline QString profileOutcomeMismatch()
{
    return QStringLiteral("уписано, провера је нашла разлике");
}
inline QString profileColumnOutcome()
{
    return QStringLiteral("Исход");
}
inline QString profileColumnNote()
{
    return QStringLiteral("Напомена");
}
inline QString profileRestoreCancelled()
{
    return QStringLiteral("Упис профила је прекинут. Поновите упис да би се завршио.");
}

// ---- Communication log and finding the printer ----

// After the no-answer text: what went out, where to, and what to check.
inline QString noAnswerDetail(const QString &frameHex, const QString &name, const QString &where)
{
    QString sent = frameHex;
    if (!name.isEmpty())
        sent += QStringLiteral(" (%1)").arg(name);
    if (!where.isEmpty())
        sent += QStringLiteral(" на %1").arg(where);
    return QStringLiteral("Послато: %1. Проверите кабл, изабрани порт и да ли је фискални принтер укључен.").arg(sent);
}
// After the lost-connection text: which connection it was.
inline QString connectionLostDetail(const QString &where)
{
    return QStringLiteral("Веза: %1. Проверите кабл и да ли је фискални принтер укључен, па отворите везу поново.")
        .arg(where);
}
// A TCP connect that failed, after the socket's own words.
inline QString tcpRefused(const QString &host, quint16 port)
{
    return QStringLiteral("Адреса %1, порт %2: веза је одбијена. На тој адреси нико не ослушкује тај порт; "
                          "проверите ИП адресу и порт фискалног принтера (обично 1024) и да ли је укључен.")
        .arg(host)
        .arg(port);
}
inline QString tcpTimedOut(const QString &host, quint16 port, int ms)
{
    return QStringLiteral("Адреса %1, порт %2: нема одговора за %3 s. Проверите ИП адресу, мрежни кабл и да ли "
                          "је фискални принтер укључен и у истој мрежи.")
        .arg(host)
        .arg(port)
        .arg(ms / 1000.0, 0, 'g', 3);
}
inline QString tcpHostNotFound(const QString &host)
{
    return QStringLiteral("Адреса „%1“ није пронађена. Упишите ИП адресу фискалног принтера, нпр. 192.168.1.50.")
        .arg(host);
}
inline QString tcpNotReached(const QString &host, quint16 port)
{
    return QStringLiteral("Адреса %1, порт %2: веза није успостављена. Проверите ИП адресу, мрежни кабл и да ли "
                          "је фискални принтер укључен.")
        .arg(host)
        .arg(port);
}
// A serial port that is not there.
inline QString SerialPortMissing(const QString &port)
{
    return QStringLiteral("%1: порт не постоји. Проверите да ли је кабл (USB адаптер) прикључен и изаберите "
                          "постојећи порт; „Пронађи принтер“ проба све портове.")
        .arg(port);
}

// The communication log window.
inline QString commLogMenu()
{
    return QStringLiteral("Комуникациони лог");
}
inline QString commLogTitle()
{
    return QStringLiteral("Комуникациони лог");
}
inline QString commLogPause()
{
    return QStringLiteral("Пауза");
}
inline QString commLogClear()
{
    return QStringLiteral("Обриши");
}
inline QString commLogSave()
{
    return QStringLiteral("Сачувај...");
}
inline QString commLogShowAll()
{
    return QStringLiteral("Сви оквири");
}
inline QString commLogShowSent()
{
    return QStringLiteral("Само послато");
}
inline QString commLogShowReceived()
{
    return QStringLiteral("Само примљено");
}
inline QString commLogLines(int shown, int total)
{
    return QStringLiteral("Редова: %1 од %2").arg(shown).arg(total);
}
inline QString commLogPaused(int waiting)
{
    return QStringLiteral("Пауза: чека нових редова %1").arg(waiting);
}
inline QString commLogSaveCaption()
{
    return QStringLiteral("Чување комуникационог лога");
}
inline QString commLogFileFilter()
{
    return QStringLiteral("Текст (*.txt *.log);;Сви фајлови (*)");
}
inline QString commLogSaved(const QString &path, int lines)
{
    return QStringLiteral("Лог је сачуван у „%1“ (редова: %2).").arg(path).arg(lines);
}
inline QString commLogNotSaved(const QString &path, const QString &reason)
{
    return QStringLiteral("Лог није сачуван у „%1“: %2").arg(path, reason);
}

// Finding the printer on the serial ports.
inline QString findPrinterButton()
{
    return QStringLiteral("Пронађи принтер");
}
inline QString findPrinterTitle()
{
    return QStringLiteral("Тражење фискалног принтера");
}
inline QString findPrinterProbing(const QString &port, int n, int total)
{
    return QStringLiteral("Проба порт %1 (%2 од %3)...").arg(port).arg(n).arg(total);
}
inline QString findPrinterDone(int found, int total)
{
    return QStringLiteral("Пробано портова: %1, пронађено принтера: %2.").arg(total).arg(found);
}
inline QString findPrinterNone()
{
    return QStringLiteral("Ни на једном порту није одговорио фискални принтер. Проверите кабл и да ли је принтер "
                          "укључен; порт који користи други програм не може да се проба.");
}
inline QString findPrinterChoose()
{
    return QStringLiteral("Изабери");
}
inline QString findPrinterClose()
{
    return QStringLiteral("Затвори");
}
inline QString findPrinterPortOpen()
{
    return QStringLiteral("Затворите порт пре тражења принтера.");
}
// What a port said when it was probed.
inline QString probeFound()
{
    return QStringLiteral("фискални принтер одговара");
}
inline QString probeInServiceMode()
{
    return QStringLiteral("у сервисном режиму");
}
inline QString probeNotInServiceMode()
{
    return QStringLiteral("није у сервисном режиму");
}
inline QString probeRefused(const QString &text)
{
    return QStringLiteral("одбио захтев: %1").arg(text);
}
inline QString probeModel(const QString &model)
{
    return QStringLiteral("модел %1").arg(model);
}
inline QString probeOtherModel(const QString &model)
{
    return QStringLiteral("модел %1 (програм није предвиђен за тај модел)").arg(model);
}
inline QString probeSerialNumber(const QString &number)
{
    return QStringLiteral("серијски број касе %1").arg(number);
}
inline QString probeSilent(int ms)
{
    return QStringLiteral("нема одговора за %1 ms").arg(ms);
}
inline QString probeGarbage(int bytes)
{
    return QStringLiteral("стигло је бајтова %1 који нису одговор принтера (други уређај или друга брзина)").arg(bytes);
}
inline QString probeNotOpened(const QString &reason)
{
    return QStringLiteral("не може да се отвори: %1").arg(reason);
}
// quorvel-cli detect: nothing found.
inline QString cliDetectNone(int ports)
{
    return QStringLiteral("Фискални принтер није пронађен (пробано портова: %1).").arg(ports);
}
inline QString cliDetectNoPorts()
{
    return QStringLiteral("Нема серијских портова за пробу.");
}

// ---- Partial article transfers ----
// The range fields of the article page and the write of changed rows.
inline QString articleRangeFromLabel()
{
    return QStringLiteral("од");
}
inline QString articleRangeToLabel()
{
    return QStringLiteral("до");
}
inline QString articleRangeToolTip()
{
    return QStringLiteral("Читање и унос у касу обухватају само артикле од овог до овог броја.");
}
// The range typed is no pair of article numbers from <= to within 1..`articles`.
inline QString articleRangeInvalid(const QString &from, const QString &to, int articles)
{
    return QStringLiteral("Опсег артикала „%1“ до „%2“ није исправан: унесите бројеве од 1 до %3, први не већи "
                          "од другог. Ништа није послато.")
        .arg(from, to)
        .arg(articles);
}
// The button that writes only the changed rows; `count` of them wait for the write.
inline QString writeChangedCaption(int count)
{
    return count > 0 ? QStringLiteral("Унос измена (%1)").arg(count) : QStringLiteral("Унос измена");
}
inline QString writeChangedToolTip()
{
    return QStringLiteral("Уписује у касу само артикле измењене од последњег читања, учитавања или уписа.");
}
// The mark of a changed row, in its number cell.
inline QString articleRowChanged()
{
    return QStringLiteral("Артикал је измењен и још није уписан у касу.");
}
inline QString articlesNothingChanged()
{
    return QStringLiteral("Нема измењених артикала. Ништа није послато.");
}
inline QString articlesChangedWritten(int done, int blocks)
{
    return QStringLiteral("Упис измена је завршен. Уписано артикала: %1; низова узастопних бројева: %2.")
        .arg(done)
        .arg(blocks);
}
// Leaving the program while changed rows are not written.
inline QString closeWithUnwrittenChanges(int count)
{
    return QStringLiteral("Измењених артикала који нису уписани у касу: %1. Ако изађете, измене ће бити "
                          "изгубљене. Да ли желите да изађете из програма?")
        .arg(count);
}
// quorvel-cli write articles --changed-only: nothing differs from the base file.
inline QString cliNothingChanged(const QString &base)
{
    return QStringLiteral("Ниједан артикал се не разликује од „%1“. Ништа није послато.").arg(base);
}
// How many differing articles go out, in how many runs.
inline QString cliChangedArticles(int count, int blocks)
{
    return QStringLiteral("Артикала који се разликују: %1; низова узастопних бројева: %2.").arg(count).arg(blocks);
}
inline QString cliProfileWithoutArticles()
{
    return QStringLiteral("профил не садржи артикле.");
}
inline QString cliBaseNotArticles(const QString &base, const QString &error)
{
    return QStringLiteral("Датотека „%1“ није исправан списак артикала: %2").arg(base, error);
}

} // namespace ToolText
