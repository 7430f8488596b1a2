#include "image/itemlists.h"

#include <QRegularExpression>

namespace q7x::image::items {

namespace {
QString S(const char *utf8) { return QString::fromUtf8(utf8); }

QStringList L(std::initializer_list<const char *> texts) {
    QStringList out;
    for (const char *t : texts)
        out << S(t);
    return out;
}

// Russian noun form after a number: 1 гудок, 2 гудка, 5 гудков.
QString plural(int n, const char *one, const char *few, const char *many) {
    const int m100 = n % 100, m10 = n % 10;
    if (m100 >= 11 && m100 <= 14)
        return S(many);
    if (m10 == 1)
        return S(one);
    if (m10 >= 2 && m10 <= 4)
        return S(few);
    return S(many);
}

// Tenths as "0.5" or "0,5".
QString tenths(int t, QChar point) {
    if (t % 10 == 0)
        return QString::number(t / 10);
    return QString::number(t / 10) + point + QString::number(t % 10);
}
} // namespace

QStringList numbers(int first, int last, int step, const QString &suffix) {
    QStringList out;
    for (int v = first; v <= last; v += step)
        out << QString::number(v) + suffix;
    return out;
}

QStringList mode() { return L({"демо Q71", "демо Q72", "on-line"}); }
QStringList portNumber() {
    return numbers(1, 10, 1).replaceInStrings(QRegularExpression("^"), "com ");
}
QStringList languages() { return L({"Russian", "English", "Turkish"}); }
QStringList workMode() {
    return L({"автономный", "расширенный (W40)", "расширенный (W30/1)", "расширенный (W30/2)",
              "расширенный (W30/4)", "расширенный (W30/8)"});
}
QStringList input() { return L({"разомкнут-нарушение", "разомкнут-норма"}); }
QStringList eventsArchive() { return L({"Включен", "Выключен"}); }
QStringList controlInput() { return L({"разомкнут-взят", "разомкнут-снят"}); }
QStringList checkConnectCD() { return numbers(10, 160, 10, S(" сек")); }
QStringList nextDial() { return L({"по очереди", "по окончанию попыток"}); }
QStringList phrasePause() {
    QStringList out;
    for (int t = 5; t <= 19; ++t)
        out << tenths(t, QLatin1Char('.')) + S(" сек");
    out << S("2 сек");
    return out;
}
QStringList speedLine() { return L({"1200 бод", "4800 бод"}); }
QStringList gsmLost() { return QStringList{S("никогда")} + numbers(10, 150, 10, S(" мин")); }
QStringList yesNoCapital() { return L({"Да ", "Нет"}); }
QStringList simCount() {
    QStringList out = L({"никогда", "1 раз/сутки"});
    for (int d = 2; d <= 15; ++d)
        out << S("1 раз/") + QString::number(d) + QLatin1Char(' ') +
                   plural(d, "день", "дня", "дней");
    return out;
}
QStringList dialMode() { return L({"импульсный", "тональный"}); }
QStringList pickUpDelay() {
    QStringList out;
    for (int n = 1; n <= 15; ++n)
        out << QString::number(n) + QLatin1Char(' ') + plural(n, "гудок", "гудка", "гудков");
    out << S("не брать трубку");
    return out;
}
QStringList lostLine() { return numbers(1, 15, 1, S(" мин")) << S("нет"); }
QStringList pauseDial() { return numbers(1, 16, 1, S(" сек")); }
QStringList objectNumbers(int last) { return QStringList{S("---")} + numbers(1, last); }
QStringList partitionNumbers() { return numbers(1, 16); }
QStringList urgency() { return L({"срочное", "не срочное"}); }
QStringList typeMesgGSM() {
    return L({"SMS", "Речевое", "SMS+Речевое", "Речевое+SMS", "Тональное", "SMS+Тонал.",
              "Тонал.+SMS", "Цифровое", "SMS+Цифр.", "Цифр.+SMS", "SMS-Блиц"});
}
QStringList typeMesgLine() { return L({"Речевое", "Тональное", "Цифровое"}); }
QStringList yesNo() { return L({"да", "нет"}); }
QStringList dialTry() { return numbers(1, 16); }
QStringList waitTime() { return numbers(4, 64, 4, S(" с")); }
QStringList pauseInterval() {
    QStringList out;
    for (int s = 0; s <= 450; s += 30) {
        const int m = s / 60, r = s % 60;
        if (m == 0)
            out << QString::number(r) + S(" сек");
        else if (r == 0)
            out << QString::number(m) + S(" мин");
        else
            out << QString::number(m) + S(" мин ") + QString::number(r) + S(" сек");
    }
    return out;
}

QStringList partitionNamesRu() {
    return L({"-------",
              "пожарная охрана",
              "периметр",
              "объем",
              "охрана объекта",
              "мансарда",
              "входная дверь",
              "запасной выход",
              "подвал",
              "ванная",
              "туалет",
              "спальня",
              "детская",
              "столовая",
              "нижний этаж",
              "бытовая авария",
              "гараж",
              "дверь гаража",
              "гостинная",
              "холл",
              "кухня",
              "жилая комната",
              "офис",
              "верхний этаж",
              "рабочий кабинет",
              "двор",
              "коридор",
              "помещение №1",
              "помещение №2",
              "помещение №3",
              "помещение №4",
              "помещение №5",
              "помещение №6",
              "помещение №7",
              "помещение №8",
              "пользовательское название №1",
              "пользовательское название №2",
              "пользовательское название №3",
              "пользовательское название №4"});
}
QStringList partitionNamesEn() {
    return L(
        {"-------",        "fire guard",     "perimeter",      "volume",        "intruder guard",
         "mansard",        "front door",     "back door",      "basement",      "bathroom",
         "toilet",         "bedroom",        "child room",     "dining room ",  "downstairs",
         "emergency",      "garage",         "garage door",    "guest room",    "hall",
         "kitchen",        "living room",    "office",         "upstairs",      "working room",
         "yard",           "corridor",       "room №1",        "room №2",       "room №3",
         "room №4",        "room №5",        "room №6",        "room №7",       "room №8",
         "user's name №1", "user's name №2", "user's name №3", "user's name №4"});
}
QStringList partitionNamesTranslit() {
    return L({"-------",
              "pozharnaya ohrana",
              "perimetr",
              "ob'em",
              "ohrana ob'ekta ",
              "mansarda",
              "vhodnaya dver",
              "zapasnii vihod",
              "podval",
              "vannaya",
              "tualet",
              "spalnya",
              "detskaya",
              "stolovaya ",
              "nizhnii etazh",
              "bitovaya avaria ",
              "garazh",
              "dver garazha",
              "gostinaya ",
              "holl",
              "kukhnya ",
              "zhilaya komnata",
              "ofis",
              "verhnii etazh ",
              "rabochii kabinet ",
              "dvor",
              "koridor",
              "pomeschenie №1",
              "pomeschenie №2",
              "pomeschenie №3",
              "pomeschenie №4",
              "pomeschenie №5",
              "pomeschenie №6",
              "pomeschenie №7",
              "pomeschenie №8",
              "polzovatelskoe nazvanie №1",
              "polzovatelskoe nazvanie №2",
              "polzovatelskoe nazvanie №3",
              "polzovatelskoe nazvanie №4"});
}
QStringList nameLanguage() { return L({"русский", "english", "psevdo-english"}); }
QStringList period() {
    return L({"всегда", "15 мин", "22.5 мин", "30 мин", "45 мин", "60 мин", "1.5 ч", "2 ч", "3 ч",
              "4 ч", "6 ч", "8 ч", "12 ч", "16 ч", "24 ч", "32 ч"});
}
QStringList testLine() {
    // The test period has no "always": its first item means no test message at all.
    QStringList out = period();
    out[0] = S("никогда");
    return out;
}
QStringList delay() { return QStringList{S("0 сек")} + numbers(10, 150, 10, S(" сек")); }
QStringList toneSymbols() { return numbers(0, 9) + L({"A", "B", "C", "D", "*", "#"}); }
QStringList tonePause() {
    QStringList out;
    for (int t = 0; t <= 15; ++t)
        out << tenths(t, QLatin1Char(',')) + S(" сек");
    return out;
}
QStringList releControl() { return L({"по команде", "по событию"}); }
QStringList releWorkMode() {
    return L({"ПЦН тревога", "Контр. лампа", "ПЦН контрольный (охран.раздел)", "Звуковой",
              "Тревога", "Исполнительный (охран. раздел)", "Специальный"});
}
QStringList timeOpenClose() {
    return L({"---", "0.5 сек", "1 сек", "5 сек", "10 сек", "20 сек", "30 сек", "пост."});
}
QStringList timePeriod() {
    return L({"---", "20 сек", "40 сек", "1 мин", "1 м 20 с", "1 м 40 с", "2 мин ", "2 м 20 с",
              "2 м 40 с", "3 мин ", "3 м 20 с", "3 м 40 с", "4 мин ", "4 м 20 с", "4 м 40 с",
              "пост."});
}
QStringList invRele() { return L({"Нет ", "Да"}); }

} // namespace q7x::image::items
