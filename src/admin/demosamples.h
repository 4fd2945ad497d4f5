#pragma once

#include <QList>
#include <QString>

// The raw material of the demo data: Czech names, addresses and the devices, faults and
// repairs a phone shop sees. Plain tables; DemoDataGenerator draws from them.
namespace DemoSamples {

struct Surname
{
    const char *male;
    const char *female;
};

struct City
{
    const char *name;
    const char *postalCode;
    int weight; // how often customers come from there
};

struct PhoneModel
{
    const char *name; // maker and model, as the clerk types it
    const char *tacPrefix; // first digits of the IMEI's type allocation code
    const char *batteryType; // as written on the battery or the model's sheet
    bool removableBattery; // the customer can hand the battery in separately
    int releaseYear; // not taken in before this year
    int weight;
};

// A repair job: what the customer says and what the engineer writes after the repair.
struct Repair
{
    const char *fault;
    const char *work;
    int minPrice; // final price range in the main currency
    int maxPrice;
    int partsPercent; // share of the final price spent on parts
    bool software;
    int weight;
};

struct Engineer
{
    const char *name;
    double from; // working in the shop during this part of the demo period (0 to 1)
    double to;
};

const QList<const char *> &maleFirstNames();
const QList<const char *> &femaleFirstNames();
const QList<Surname> &surnames();
const QList<const char *> &companies();
const QList<const char *> &streets();
const QList<City> &cities();
const QList<const char *> &mobilePrefixes();
const QList<const char *> &mailDomains();
const QList<PhoneModel> &phoneModels();
const QList<Repair> &hardwareRepairs();
const QList<Repair> &softwareRepairs();
const QList<Repair> &counterJobs(); // quick jobs done while the customer waits
const QList<Engineer> &engineers();
const QList<const char *> &intakeNotes();
const QList<const char *> &repairNotes();

// The text with its diacritics removed and lower-cased ("Kříž" -> "kriz"), for e-mails.
QString asciiFolded(const QString &text);

} // namespace DemoSamples
