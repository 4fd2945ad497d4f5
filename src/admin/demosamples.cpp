#include "demosamples.h"

namespace DemoSamples {

const QList<const char *> &maleFirstNames()
{
    static const QList<const char *> list = {
        "Jan",    "Petr",      "Josef",    "Pavel",     "Martin", "Tomáš",   "Jaroslav", "Miroslav",
        "Zdeněk", "Václav",    "Michal",   "František", "Jiří",   "Lukáš",   "Jakub",    "David",
        "Ondřej", "Karel",     "Milan",    "Radek",     "Filip",  "Vojtěch", "Adam",     "Marek",
        "Roman",  "Stanislav", "Vladimír", "Libor",     "Aleš",   "Matěj",
    };
    return list;
}

const QList<const char *> &femaleFirstNames()
{
    static const QList<const char *> list = {
        "Jana",    "Marie",    "Eva",    "Hana",   "Anna",     "Lenka",     "Kateřina",
        "Věra",    "Lucie",    "Alena",  "Petra",  "Veronika", "Jaroslava", "Martina",
        "Tereza",  "Michaela", "Zuzana", "Ivana",  "Monika",   "Barbora",   "Kristýna",
        "Markéta", "Simona",   "Klára",  "Dagmar", "Ludmila",  "Eliška",    "Natálie",
    };
    return list;
}

const QList<Surname> &surnames()
{
    static const QList<Surname> list = {
        {"Novák", "Nováková"},    {"Svoboda", "Svobodová"},   {"Novotný", "Novotná"},
        {"Dvořák", "Dvořáková"},  {"Černý", "Černá"},         {"Procházka", "Procházková"},
        {"Kučera", "Kučerová"},   {"Veselý", "Veselá"},       {"Horák", "Horáková"},
        {"Němec", "Němcová"},     {"Marek", "Marková"},       {"Pospíšil", "Pospíšilová"},
        {"Pokorný", "Pokorná"},   {"Hájek", "Hájková"},       {"Král", "Králová"},
        {"Jelínek", "Jelínková"}, {"Růžička", "Růžičková"},   {"Beneš", "Benešová"},
        {"Fiala", "Fialová"},     {"Sedláček", "Sedláčková"}, {"Doležal", "Doležalová"},
        {"Zeman", "Zemanová"},    {"Kolář", "Kolářová"},      {"Navrátil", "Navrátilová"},
        {"Čermák", "Čermáková"},  {"Vaněk", "Vaňková"},       {"Urban", "Urbanová"},
        {"Blažek", "Blažková"},   {"Kříž", "Křížová"},        {"Kovář", "Kovářová"},
        {"Šimek", "Šimková"},     {"Konečný", "Konečná"},     {"Malý", "Malá"},
        {"Holub", "Holubová"},    {"Štěpánek", "Štěpánková"}, {"Kratochvíl", "Kratochvílová"},
        {"Hanák", "Hanáková"},    {"Vlček", "Vlčková"},       {"Polák", "Poláková"},
        {"Musil", "Musilová"},    {"Šťastný", "Šťastná"},     {"Bartoš", "Bartošová"},
        {"Skácel", "Skácelová"},  {"Žák", "Žáková"},          {"Vrba", "Vrbová"},
    };
    return list;
}

const QList<const char *> &companies()
{
    static const QList<const char *> list = {
        "Stavby Haná s.r.o.",       "Pekařství Hanák",   "Taxi Centrum Olomouc s.r.o.",
        "Autoservis Kratochvíl",    "ZŠ Holečkova",      "Lékárna U Zlatého lva",
        "Elektro Vlček a syn",      "Kadeřnictví Klára", "Zahradnictví Na Vyhlídce",
        "Účetní kancelář Musilová",
    };
    return list;
}

const QList<const char *> &streets()
{
    static const QList<const char *> list = {
        "Masarykova", "Husova",        "Nádražní",    "Palackého",   "Komenského",   "Svatoplukova",
        "Dvořákova",  "třída Svobody", "Legionářská", "Polská",      "Jeremenkova",  "Zikova",
        "Kosmonautů", "Brněnská",      "Hálkova",     "Wolkerova",   "Žižkova",      "Sokolská",
        "Pražská",    "U Stadionu",    "Na Vyhlídce", "Lipová",      "Krapkova",     "Nerudova",
        "Dukelská",   "Smetanova",     "Tylova",      "Jungmannova", "Havlíčkova",   "Okružní",
        "Na Zákopě",  "Zahradní",      "Školní",      "Družstevní",  "Křížkovského",
    };
    return list;
}

const QList<City> &cities()
{
    // A shop in Olomouc: most customers live in the town or around it.
    static const QList<City> list = {
        {"Olomouc", "779 00", 45},       {"Přerov", "750 02", 8},   {"Prostějov", "796 01", 7},
        {"Šternberk", "785 01", 5},      {"Litovel", "784 01", 4},  {"Uničov", "783 91", 4},
        {"Hranice", "753 01", 3},        {"Šumperk", "787 01", 3},  {"Mohelnice", "789 85", 2},
        {"Velká Bystřice", "783 53", 3}, {"Hlubočky", "783 61", 2}, {"Bohuňovice", "783 14", 2},
        {"Dubá", "783 75", 1},           {"Brno", "602 00", 4},     {"Praha", "110 00", 3},
        {"Ostrava", "702 00", 2},        {"Zlín", "760 01", 1},     {"Kroměříž", "767 01", 1},
    };
    return list;
}

const QList<const char *> &mobilePrefixes()
{
    static const QList<const char *> list = {
        "601", "602", "603", "604", "605", "606", "607", "608", "720", "721",
        "722", "723", "724", "725", "728", "730", "731", "732", "733", "734",
        "736", "737", "739", "773", "774", "775", "776", "777", "778", "792",
    };
    return list;
}

const QList<const char *> &mailDomains()
{
    static const QList<const char *> list = {
        "seznam.cz", "seznam.cz", "seznam.cz",  "seznam.cz", "gmail.com", "gmail.com", "gmail.com",
        "email.cz",  "email.cz",  "centrum.cz", "post.cz",   "volny.cz",  "atlas.cz",  "icloud.com",
    };
    return list;
}

const QList<PhoneModel> &phoneModels()
{
    static const QList<PhoneModel> list = {
        {"Apple iPhone 11", "3532", "Li-Ion 3110 mAh", false, 2019, 40},
        {"Apple iPhone 12", "3530", "Li-Ion 2815 mAh", false, 2020, 40},
        {"Apple iPhone 13", "3508", "Li-Ion 3240 mAh", false, 2021, 40},
        {"Apple iPhone 14", "3501", "Li-Ion 3279 mAh", false, 2022, 30},
        {"Apple iPhone 15", "3523", "Li-Ion 3349 mAh", false, 2023, 25},
        {"Apple iPhone 16", "3577", "Li-Ion 3561 mAh", false, 2024, 15},
        {"Apple iPhone SE (2022)", "3566", "Li-Ion 2018 mAh", false, 2022, 15},
        {"Apple iPhone XR", "3571", "Li-Ion 2942 mAh", false, 2018, 15},
        {"Samsung Galaxy A14", "3505", "EB-BA146ABY 5000 mAh", false, 2023, 35},
        {"Samsung Galaxy A15", "3509", "EB-BA156ABY 5000 mAh", false, 2024, 25},
        {"Samsung Galaxy A34", "3528", "EB-BA346ABY 5000 mAh", false, 2023, 30},
        {"Samsung Galaxy A54", "3514", "EB-BA546ABY 5000 mAh", false, 2023, 30},
        {"Samsung Galaxy A55", "3510", "EB-BA556ABY 5000 mAh", false, 2024, 20},
        {"Samsung Galaxy A52", "3519", "EB-BA525ABY 4500 mAh", false, 2021, 20},
        {"Samsung Galaxy S21", "3524", "EB-BG991ABY 4000 mAh", false, 2021, 15},
        {"Samsung Galaxy S23", "3506", "EB-BS912ABY 3900 mAh", false, 2023, 15},
        {"Samsung Galaxy S24", "3503", "EB-BS921ABY 4000 mAh", false, 2024, 12},
        {"Samsung Galaxy Xcover 6 Pro", "3526", "EB-BG736BBE 4050 mAh", true, 2022, 8},
        {"Samsung Galaxy Xcover 5", "3527", "EB-BG525BBE 3000 mAh", true, 2021, 6},
        {"Xiaomi Redmi Note 12", "8627", "BN5J 5000 mAh", false, 2023, 25},
        {"Xiaomi Redmi Note 13", "8635", "BN5N 5000 mAh", false, 2024, 25},
        {"Xiaomi Redmi Note 10 Pro", "8631", "BN53 5020 mAh", false, 2021, 15},
        {"Xiaomi Redmi 12C", "8644", "BN5G 5000 mAh", false, 2023, 20},
        {"Xiaomi Redmi 9A", "8693", "BN56 5000 mAh", false, 2020, 15},
        {"Xiaomi POCO X5 Pro", "8621", "BP4K 5000 mAh", false, 2023, 8},
        {"Huawei P30 Lite", "8676", "HB356687ECW 3340 mAh", false, 2019, 12},
        {"Huawei P Smart 2019", "8670", "HB396286ECW 3400 mAh", false, 2019, 8},
        {"Honor Magic5 Lite", "8640", "HB506492EFW 5100 mAh", false, 2023, 8},
        {"Honor X8", "8650", "HB466596EFW 4000 mAh", false, 2022, 6},
        {"Motorola Moto G54", "3528", "QC50 5000 mAh", false, 2023, 10},
        {"Motorola Moto E13", "3594", "MV50 5000 mAh", false, 2023, 8},
        {"Google Pixel 7", "3565", "GMF5Z 4355 mAh", false, 2022, 6},
        {"Google Pixel 8", "3581", "GCC7S 4575 mAh", false, 2023, 6},
        {"OnePlus Nord CE 3 Lite", "8690", "BLP989 5000 mAh", false, 2023, 6},
        {"Sony Xperia 10 V", "3590", "SNYSQ68 5000 mAh", false, 2023, 5},
        {"Nokia G21", "3540", "WT341 5050 mAh", true, 2022, 8},
        {"Nokia 3310 (2017)", "3544", "BL-4UL 1200 mAh", true, 2017, 6},
        {"Nokia 105 (2019)", "3549", "BL-5CB 800 mAh", true, 2019, 5},
        {"Doro 6820", "3539", "DBR-800A 1000 mAh", true, 2020, 7},
        {"CAT S62 Pro", "3598", "Li-Ion 4000 mAh", false, 2020, 3},
    };
    return list;
}

const QList<Repair> &hardwareRepairs()
{
    static const QList<Repair> list = {
        {"Rozbitý displej, nereaguje dotyk", "Výměna displeje (LCD a dotyková vrstva)", 1490, 6990,
         65, false, 30},
        {"Prasklé sklo displeje po pádu", "Výměna displeje", 1290, 5990, 65, false, 25},
        {"Nenabíjí, kabel drží jen nakřivo", "Vyčištění a výměna nabíjecího konektoru", 590, 1490,
         35, false, 16},
        {"Rychle se vybíjí baterie, telefon se sám vypíná", "Výměna baterie", 690, 1890, 50, false,
         18},
        {"Nejde zapnout", "Výměna napájecího obvodu, vyčištění desky", 990, 2490, 30, false, 8},
        {"Spadl do vody, nefunguje", "Ultrazvukové čištění desky po zatečení, výměna konektoru",
         790, 1990, 25, false, 8},
        {"Není slyšet druhá strana hovoru", "Výměna sluchátka", 490, 1190, 40, false, 6},
        {"Druhá strana mě při hovoru neslyší", "Výměna mikrofonu", 490, 1290, 35, false, 6},
        {"Nefunguje zadní fotoaparát, fotky jsou rozmazané", "Výměna zadní kamery", 890, 3490, 60,
         false, 6},
        {"Prasklé zadní sklo", "Výměna zadního krytu", 690, 2990, 55, false, 7},
        {"Nefunguje tlačítko zapnutí", "Výměna flex kabelu tlačítek", 490, 1290, 40, false, 4},
        {"Nenačítá SIM kartu", "Výměna čtečky SIM karet", 590, 1490, 35, false, 3},
        {"Ztrácí signál", "Oprava anténního obvodu", 790, 1990, 30, false, 3},
        {"Nefunguje reproduktor, zvonění je potichu", "Vyčištění mřížky a výměna reproduktoru", 490,
         1190, 40, false, 4},
    };
    return list;
}

const QList<Repair> &softwareRepairs()
{
    static const QList<Repair> list = {
        {"Zasekává se na logu výrobce", "Přeinstalace firmware (flash)", 390, 790, 0, true, 5},
        {"Zapomenuté heslo, zablokovaný telefon", "Odblokování, obnovení továrního nastavení", 490,
         990, 0, true, 4},
        {"Blokace na operátora", "Odblokování sítě", 390, 890, 0, true, 3},
        {"Pomalý, padají aplikace", "Aktualizace software, záloha a obnovení dat", 390, 690, 0,
         true, 4},
        {"Převést data do nového telefonu", "Přenos kontaktů, fotografií a zpráv", 290, 590, 0,
         true, 3},
    };
    return list;
}

const QList<Repair> &counterJobs()
{
    static const QList<Repair> list = {
        {"Nalepit ochranné sklo", "Výměna ochranného skla", 190, 390, 40, false, 5},
        {"Nastavit nový telefon", "Nastavení telefonu, e-mailu a zálohy", 190, 490, 0, true, 3},
        {"Vyměnit kryt", "Nasazení nového krytu", 150, 350, 60, false, 2},
    };
    return list;
}

const QList<Engineer> &engineers()
{
    static const QList<Engineer> list = {
        {"Petr Dvořák", 0.0, 1.0}, {"Martin Svoboda", 0.0, 0.55}, {"Lukáš Černý", 0.25, 1.0},
        {"Jana Veselá", 0.6, 1.0}, {"Tomáš Krejčí", 0.85, 1.0},
    };
    return list;
}

const QList<const char *> &intakeNotes()
{
    static const QList<const char *> list = {
        "Bez SIM a paměťové karty",       "Odřený rámeček",
        "Zákazník nechce zálohovat data", "Kód odemknutí sdělen ústně",
        "Prasklé ochranné sklo",          "Volat po 16. hodině",
        "Před opravou zavolat cenu",      "Spěchá, nejpozději do pátku",
    };
    return list;
}

const QList<const char *> &repairNotes()
{
    static const QList<const char *> list = {
        "Zákazník informován telefonicky",
        "Díl objednán u dodavatele",
        "Použit neoriginální díl se souhlasem zákazníka",
        "Vyměněno i ochranné sklo",
        "Doporučena výměna baterie",
    };
    return list;
}

QString asciiFolded(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString result;
    result.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('.')))
            result.append(c.toLower());
    }
    return result;
}

} // namespace DemoSamples
