#include "customers/customereditform.h"
#include "customers/customersearchform.h"

#include "customercode.h"
#include "fakeui.h"
#include "testshop.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {

// A fresh shop with its data module open and a scripted Ui installed.
struct Shop
{
    TestShop shop;
    TRpx2Data data{nullptr, QStringLiteral("RPX2"), nullptr};
    FakeUi ui;

    Shop() { data.OpenFile(AppPaths::databaseFile()); }

    int addCustomer(const QString &name, const QString &phone = {}, const QString &city = {})
    {
        CCustomer c;
        c.CustomerCode = CustomerCode::draw();
        c.CustomerName = name;
        c.CustomerPhoneNo = phone;
        c.CustomerCity = city;
        data.StoreCustomer(c);
        return c.CustomerID;
    }
    void addOrder(const QString &orderId, int customerId)
    {
        COrder o;
        o.OrderID = orderId;
        o.OrderTypeID = OrderTypes::Paid;
        o.OrderStateID = OrderStates::InRepair;
        o.OrderCustomerID = customerId;
        data.StoreOrder(o);
    }
    int ownerOf(const QString &orderId)
    {
        const std::optional<COrder> o = data.GetOrder(orderId);
        return o ? o->OrderCustomerID : -1;
    }
    bool exists(int customerId) { return data.GetCustomer(customerId).has_value(); }
};

template<typename T> T *child(const QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QTableView *grid(const QDialog &form)
{
    return child<QTableView>(form, "DBGrid1");
}

int nameColumn(const QDialog &form)
{
    return grid(form)->horizontalHeader()->logicalIndex(0);
}

// The names the grid shows, top to bottom ("" for a customer without a name).
QStringList shownNames(const QDialog &form)
{
    QAbstractItemModel *model = grid(form)->model();
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
        names.append(model->index(row, nameColumn(form)).data().toString());
    return names;
}

int rowOfName(const QDialog &form, const QString &name)
{
    return shownNames(form).indexOf(name);
}

void setCursor(const QDialog &form, int row,
               QItemSelectionModel::SelectionFlags flags
               = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows)
{
    QTableView *view = grid(form);
    view->selectionModel()->setCurrentIndex(view->model()->index(row, nameColumn(form)), flags);
}

// Applies the filter boxes and waits for the one reload the timer makes.
void filter(const QDialog &form, const QString &name, const QString &phone)
{
    QSignalSpy reset(grid(form)->model(), &QAbstractItemModel::modelReset);
    child<QLineEdit>(form, "EditFilterName")->setText(name);
    child<QLineEdit>(form, "EditFilterPhoneNo")->setText(phone);
    QVERIFY(reset.wait(3000));
    QCOMPARE(reset.count(), 1);
}

bool isCustomerCode(const QString &code)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{8}$"));
    if (!digits.match(code).hasMatch())
        return false;
    const int value = code.toInt();
    return value >= 10000000 && value <= 99999999;
}

QSet<QString> setOf(const QStringList &list)
{
    return QSet<QString>(list.begin(), list.end());
}

} // namespace

class TestGuiCustomers : public QObject
{
    Q_OBJECT

private slots:
    void filtering_data();
    void filtering();
    void quickTypingReloadsOnce();
    void openingShowsEveryCustomerAgain();
    void pickingReturnsRowUnderCursor_data();
    void pickingReturnsRowUnderCursor();
    void emptyListGivesEmptyCustomer();
    void okWithPendingFilterShowsItFirst();
    void newCustomer_data();
    void newCustomer();
    void editCustomer_data();
    void editCustomer();
    void editOnEmptyListDoesNothing();
    void joinSelectedNeedsTwoMarkedRows_data();
    void joinSelectedNeedsTwoMarkedRows();
    void joinSelected_data();
    void joinSelected();
    void joinAll_data();
    void joinAll();
    void joinAllOnEmptyListDoesNothing();
    void customerCodesAreEightDigitsAndSpread();
    void specialCharactersRoundTrip();
    void editFormKeyboardOrder();
    void everyTextKeyExists();
};

void TestGuiCustomers::filtering_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QStringList>("expected");

    const QString novak = QStringLiteral("Novák Jan");
    const QString novacek = QStringLiteral("NOVÁČEK Petr");
    const QString capek = QStringLiteral("Čapek Karel");
    const QString dvorak = QStringLiteral("Dvořák Antonín");
    const QString servis = QStringLiteral("100% Servis");
    const QString noName;

    QTest::newRow("both empty: everyone, also without name or phone")
        << QString() << QString() << QStringList{novak, novacek, capek, dvorak, servis, noName};
    QTest::newRow("name part anywhere, customers without phone too")
        << QStringLiteral("nov") << QString() << QStringList{novak, novacek};
    QTest::newRow("inner part") << QStringLiteral("ará") << QString() << QStringList{};
    QTest::newRow("lower-case Czech letter finds upper case")
        << QStringLiteral("č") << QString() << QStringList{novacek, capek};
    QTest::newRow("upper-case Czech letters find lower case")
        << QStringLiteral("ÁK") << QString() << QStringList{novak, dvorak};
    QTest::newRow("blanks around the filter are ignored")
        << QStringLiteral("  nov  ") << QString() << QStringList{novak, novacek};
    QTest::newRow("percent sign is a plain character")
        << QStringLiteral("%") << QString() << QStringList{servis};
    QTest::newRow("underscore is a plain character")
        << QStringLiteral("_") << QString() << QStringList{};
    QTest::newRow("phone part: customers without name too")
        << QString() << QStringLiteral("60") << QStringList{novak, dvorak, noName};
    QTest::newRow("both filters") << QStringLiteral("nov") << QStringLiteral("111")
                                  << QStringList{novak};
    QTest::newRow("no match") << QStringLiteral("xyz") << QString() << QStringList{};
}

void TestGuiCustomers::filtering()
{
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QStringList, expected);

    Shop s;
    s.addCustomer(QStringLiteral("Novák Jan"), QStringLiteral("602 111 222"),
                  QStringLiteral("Brno"));
    s.addCustomer(QStringLiteral("NOVÁČEK Petr"));
    s.addCustomer(QStringLiteral("Čapek Karel"), QStringLiteral("777000111"));
    s.addCustomer(QStringLiteral("Dvořák Antonín"), QStringLiteral("603123456"));
    s.addCustomer(QStringLiteral("100% Servis"));
    s.addCustomer(QString(), QStringLiteral("605555555"));

    TCustomerSearchForm form;
    // Start from another filter so that an empty row really reloads.
    filter(form, QStringLiteral("q"), QString());
    filter(form, name, phone);

    QCOMPARE(setOf(shownNames(form)), setOf(expected));
    QCOMPARE(shownNames(form).size(), expected.size());
    if (!expected.isEmpty())
        QCOMPARE(grid(form)->currentIndex().row(), 0);

    // Reloading must not bring back the hidden key and code columns.
    QHeaderView *header = grid(form)->horizontalHeader();
    QStringList visible;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            visible.append(grid(form)->model()->headerData(logical, Qt::Horizontal).toString());
    }
    QCOMPARE(visible.size(), 4);
    QVERIFY(s.ui.messages.isEmpty());
}

void TestGuiCustomers::quickTypingReloadsOnce()
{
    Shop s;
    s.addCustomer(QStringLiteral("novak"));
    s.addCustomer(QStringLiteral("svoboda"));
    TCustomerSearchForm form;
    auto *edit = child<QLineEdit>(form, "EditFilterName");

    QElapsedTimer sinceLastKey;
    QList<qint64> reloadsAt;
    connect(grid(form)->model(), &QAbstractItemModel::modelReset, &form,
            [&] { reloadsAt.append(sinceLastKey.elapsed()); });

    for (char key : {'n', 'o', 'v', 'a', 'k'}) {
        QTest::keyClick(edit, key);
        sinceLastKey.start();
        QTest::qWait(100);
    }
    QCOMPARE(edit->text(), QStringLiteral("novak"));
    QVERIFY(reloadsAt.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(reloadsAt.size(), 1, 2000);
    QVERIFY2(reloadsAt.first() >= 450, qPrintable(QString::number(reloadsAt.first())));
    QTest::qWait(700);
    QCOMPARE(reloadsAt.size(), 1);
    QCOMPARE(shownNames(form), QStringList{QStringLiteral("novak")});
}

void TestGuiCustomers::openingShowsEveryCustomerAgain()
{
    Shop s;
    s.addCustomer(QStringLiteral("Adam"));
    s.addCustomer(QString(), QStringLiteral("123"));
    s.addCustomer(QStringLiteral("Bedřich"));
    // An earlier search left the shared list filtered.
    s.data.ReloadCustomerSearch(QStringLiteral("Adam"), QStringLiteral("9"));

    TCustomerSearchForm form;
    QCOMPARE(shownNames(form).size(), 3);
    QCOMPARE(grid(form)->currentIndex().row(), 0);
    QVERIFY(child<QLineEdit>(form, "EditFilterName")->text().isEmpty());
    QVERIFY(!child<QTimer>(form, "Timer")->isActive());
}

void TestGuiCustomers::pickingReturnsRowUnderCursor_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << QStringLiteral("ok");
    QTest::newRow("Select action") << QStringLiteral("select");
    QTest::newRow("double click on the row") << QStringLiteral("doubleclick");
}

void TestGuiCustomers::pickingReturnsRowUnderCursor()
{
    QFETCH(QString, how);
    Shop s;
    s.addCustomer(QStringLiteral("Adam"));
    CCustomer bedrich;
    bedrich.CustomerShowCode = true;
    bedrich.CustomerCode = QStringLiteral("12345678");
    bedrich.CustomerName = QStringLiteral("Bedřich Šťastný");
    bedrich.CustomerStreet = QStringLiteral("Dlouhá 1");
    bedrich.CustomerCity = QStringLiteral("Plzeň");
    bedrich.CustomerPSC = QStringLiteral("301 00");
    bedrich.CustomerPhoneNo = QStringLiteral("777 888 999");
    bedrich.CustomerEMail = QStringLiteral("b@example.cz");
    s.data.StoreCustomer(bedrich);
    s.addCustomer(QStringLiteral("Cyril"));

    TCustomerSearchForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int row = rowOfName(form, bedrich.CustomerName);
    QVERIFY(row > 0);
    if (how == QLatin1String("ok")) {
        setCursor(form, row);
        child<QPushButton>(form, "ButtonOk")->click();
    } else if (how == QLatin1String("select")) {
        setCursor(form, row);
        child<QAction>(form, "Select")->trigger();
    } else {
        QTableView *view = grid(form);
        const QRect cell = view->visualRect(view->model()->index(row, nameColumn(form)));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.currentCustomer(), bedrich);
}

void TestGuiCustomers::emptyListGivesEmptyCustomer()
{
    Shop s;
    TCustomerSearchForm form;
    child<QAction>(form, "Select")->trigger();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.currentCustomer(), CCustomer());
}

void TestGuiCustomers::okWithPendingFilterShowsItFirst()
{
    Shop s;
    s.addCustomer(QStringLiteral("Adam"));
    s.addCustomer(QStringLiteral("Novák"));
    TCustomerSearchForm form;
    QSignalSpy accepted(&form, &QDialog::accepted);
    // Typing a name and pressing Enter at once must not pick the first customer of the
    // unfiltered list.
    child<QLineEdit>(form, "EditFilterName")->setText(QStringLiteral("nov"));
    child<QPushButton>(form, "ButtonOk")->click();
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(shownNames(form), QStringList{QStringLiteral("Novák")});
    child<QPushButton>(form, "ButtonOk")->click();
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(form.currentCustomer().CustomerName, QStringLiteral("Novák"));
}

void TestGuiCustomers::newCustomer_data()
{
    QTest::addColumn<QString>("filterName");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("shown");

    QTest::newRow("stored and current in the list") << QString() << true << true;
    QTest::newRow("stored but hidden by the filter") << QStringLiteral("zzz") << true << false;
    QTest::newRow("cancelled") << QString() << false << false;
}

void TestGuiCustomers::newCustomer()
{
    QFETCH(QString, filterName);
    QFETCH(bool, accept);
    QFETCH(bool, shown);

    Shop s;
    s.addCustomer(QStringLiteral("Adam"));
    s.addCustomer(QStringLiteral("Čapek"));
    s.addCustomer(QStringLiteral("Novák"));
    TCustomerSearchForm form;
    if (!filterName.isEmpty())
        filter(form, filterName, QString());
    const QStringList before = shownNames(form);

    QString offeredCode;
    bool offeredPrintCode = false;
    s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
        offeredCode = child<QLineEdit>(dialog, "CustomerCodeEdit")->text();
        offeredPrintCode = child<QCheckBox>(dialog, "CustomerPrintCodeCheckBox")->isChecked();
        child<QLineEdit>(dialog, "CustomerNameEdit")->setText(QStringLiteral("Zelený Adam"));
        child<QLineEdit>(dialog, "CustomerPhoneEdit")->setText(QStringLiteral("606 000 111"));
        return accept ? QDialog::Accepted : QDialog::Rejected;
    });
    child<QAction>(form, "New")->trigger();

    QCOMPARE(s.ui.dialogsShown, QStringList{QStringLiteral("TCustomerEditForm")});
    QVERIFY2(isCustomerCode(offeredCode), qPrintable(offeredCode));
    QVERIFY(offeredPrintCode);
    QVERIFY(s.ui.messages.isEmpty());

    const QStringList after = shownNames(form);
    if (shown) {
        QCOMPARE(after.size(), before.size() + 1);
        // The cursor is on the new customer, although it sorts into the middle of the list.
        QCOMPARE(form.currentCustomer().CustomerName, QStringLiteral("Zelený Adam"));
        QVERIFY(after.last() != QStringLiteral("Zelený Adam"));
    } else {
        QCOMPARE(after, before);
    }

    s.data.ReloadCustomerSearch(QStringLiteral("Zelený"), QString());
    QCOMPARE(s.data.customerSearchModel()->rowCount(), accept ? 1 : 0);
    if (accept) {
        const CCustomer stored = s.data.customerSearchRow(0);
        QCOMPARE(stored.CustomerCode, offeredCode);
        QVERIFY(stored.CustomerShowCode);
        QCOMPARE(stored.CustomerPhoneNo, QStringLiteral("606 000 111"));
    }
}

void TestGuiCustomers::editCustomer_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK stores the last drawn code") << true;
    QTest::newRow("Cancel leaves the database unchanged") << false;
}

void TestGuiCustomers::editCustomer()
{
    QFETCH(bool, accept);
    Shop s;
    s.addCustomer(QStringLiteral("Adam"));
    s.addCustomer(QStringLiteral("Bára"));
    const int id
        = s.addCustomer(QStringLiteral("Zdeněk"), QStringLiteral("111"), QStringLiteral("Kolín"));
    const CCustomer before = *s.data.GetCustomer(id);

    TCustomerSearchForm form;
    const int row = rowOfName(form, QStringLiteral("Zdeněk"));
    setCursor(form, row);

    QStringList drawn;
    s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
        auto *code = child<QLineEdit>(dialog, "CustomerCodeEdit");
        if (code->text() != before.CustomerCode)
            return int(QDialog::Rejected);
        for (int i = 0; i < 2; ++i) {
            QTest::mouseDClick(code, Qt::LeftButton);
            drawn.append(code->text());
        }
        // A new name that sorts first moves the customer to the top of the list.
        child<QLineEdit>(dialog, "CustomerNameEdit")->setText(QStringLiteral("Aaron"));
        return accept ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    child<QAction>(form, "Edit")->trigger();

    QCOMPARE(drawn.size(), 2);
    QVERIFY(isCustomerCode(drawn[0]) && isCustomerCode(drawn[1]));
    QVERIFY(drawn[0] != drawn[1]);
    QVERIFY(drawn[1] != before.CustomerCode);

    const CCustomer after = *s.data.GetCustomer(id);
    if (!accept) {
        QCOMPARE(after, before);
        QCOMPARE(shownNames(form).size(), 3);
        return;
    }
    CCustomer expected = before;
    expected.CustomerCode = drawn[1];
    expected.CustomerName = QStringLiteral("Aaron");
    QCOMPARE(after, expected);
    QCOMPARE(shownNames(form).size(), 3);
    // The cursor follows the edited customer to its new place.
    QCOMPARE(form.currentCustomer(), expected);
}

void TestGuiCustomers::editOnEmptyListDoesNothing()
{
    Shop s;
    TCustomerSearchForm form;
    child<QAction>(form, "Edit")->trigger();
    QVERIFY(s.ui.dialogsShown.isEmpty());
    QVERIFY(s.ui.messages.isEmpty());
}

void TestGuiCustomers::joinSelectedNeedsTwoMarkedRows_data()
{
    QTest::addColumn<int>("marked");
    QTest::newRow("none marked") << 0;
    QTest::newRow("one marked") << 1;
}

void TestGuiCustomers::joinSelectedNeedsTwoMarkedRows()
{
    QFETCH(int, marked);
    Shop s;
    const int a = s.addCustomer(QStringLiteral("Adam"));
    const int b = s.addCustomer(QStringLiteral("Bára"));
    s.addOrder(QStringLiteral("2024-00001"), b);

    TCustomerSearchForm form;
    setCursor(form, 0);
    if (marked == 0)
        grid(form)->selectionModel()->clearSelection();
    QCOMPARE(grid(form)->selectionModel()->selectedRows().size(), marked);
    child<QAction>(form, "JoinSelected")->trigger();

    QCOMPARE(s.ui.messageTexts(), QStringList{QStringLiteral("Vyberte alespoň dva zákazníky.")});
    QVERIFY(s.ui.questions.isEmpty());
    QVERIFY(s.exists(a) && s.exists(b));
    QCOMPARE(s.ownerOf(QStringLiteral("2024-00001")), b);
}

void TestGuiCustomers::joinSelected_data()
{
    QTest::addColumn<QString>("cursor");
    QTest::addColumn<QStringList>("marked");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QString>("owner"); // of every order of the marked and cursor customers

    const QStringList everyone{QStringLiteral("Adam"), QStringLiteral("Bára"),
                               QStringLiteral("Cyril"), QStringLiteral("Dana"),
                               QStringLiteral("Emil")};
    // Dana never had an order and is not marked: she must survive every merge.
    QTest::newRow("cursor outside the marked rows")
        << QStringLiteral("Adam")
        << QStringList{QStringLiteral("Bára"), QStringLiteral("Cyril"), QStringLiteral("Emil")}
        << true << QStringList{QStringLiteral("Adam"), QStringLiteral("Dana")}
        << QStringLiteral("Adam");
    QTest::newRow("cursor on a marked row")
        << QStringLiteral("Cyril") << QStringList{QStringLiteral("Bára"), QStringLiteral("Cyril")}
        << true
        << QStringList{QStringLiteral("Adam"), QStringLiteral("Cyril"), QStringLiteral("Dana"),
                       QStringLiteral("Emil")}
        << QStringLiteral("Cyril");
    QTest::newRow("not confirmed")
        << QStringLiteral("Adam") << QStringList{QStringLiteral("Bára"), QStringLiteral("Cyril")}
        << false << everyone << QString();
}

void TestGuiCustomers::joinSelected()
{
    QFETCH(QString, cursor);
    QFETCH(QStringList, marked);
    QFETCH(bool, confirm);
    QFETCH(QStringList, remaining);
    QFETCH(QString, owner);

    Shop s;
    QMap<QString, int> ids;
    for (const char *name : {"Adam", "Bára", "Cyril", "Dana", "Emil"})
        ids[QString::fromUtf8(name)] = s.addCustomer(QString::fromUtf8(name));
    const QMap<QString, QString> orders{{QStringLiteral("2024-00001"), QStringLiteral("Adam")},
                                        {QStringLiteral("2024-00002"), QStringLiteral("Bára")},
                                        {QStringLiteral("2024-00003"), QStringLiteral("Bára")},
                                        {QStringLiteral("2024-00004"), QStringLiteral("Cyril")}};
    for (auto it = orders.cbegin(); it != orders.cend(); ++it)
        s.addOrder(it.key(), ids[it.value()]);

    TCustomerSearchForm form;
    QItemSelectionModel *selection = grid(form)->selectionModel();
    selection->clearSelection();
    for (const QString &name : marked)
        selection->select(grid(form)->model()->index(rowOfName(form, name), 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    setCursor(form, rowOfName(form, cursor), QItemSelectionModel::NoUpdate);

    s.ui.answers.push_back(confirm ? Prompts::Answer::Ok : Prompts::Answer::Cancel);
    child<QAction>(form, "JoinSelected")->trigger();

    QCOMPARE(s.ui.questions.size(), 1);
    QCOMPARE(s.ui.questions.first().text,
             QStringLiteral("Přejete si sloučit tohoto zákazníka s vybraným?"));
    QVERIFY(s.ui.messages.isEmpty());
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        QVERIFY2(s.exists(it.value()) == remaining.contains(it.key()), qPrintable(it.key()));
    QCOMPARE(setOf(shownNames(form)), setOf(remaining));
    for (auto it = orders.cbegin(); it != orders.cend(); ++it) {
        const bool moved = confirm && (marked.contains(it.value()) || it.value() == cursor);
        QCOMPARE(s.ownerOf(it.key()), ids[moved ? owner : it.value()]);
    }
}

void TestGuiCustomers::joinAll_data()
{
    QTest::addColumn<bool>("pendingFilter");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("filtered list merged") << false << true;
    QTest::newRow("filter typed just before, still pending") << true << true;
    QTest::newRow("not confirmed") << false << false;
}

void TestGuiCustomers::joinAll()
{
    QFETCH(bool, pendingFilter);
    QFETCH(bool, confirm);

    Shop s;
    const int novak1 = s.addCustomer(QStringLiteral("Novák Jan"), QStringLiteral("1"));
    const int novak2 = s.addCustomer(QStringLiteral("Novák Jan"), QStringLiteral("2"));
    const int novak3 = s.addCustomer(QStringLiteral("NOVÁK JAN"));
    const int dvorak = s.addCustomer(QStringLiteral("Dvořák"));
    const int walkIn = s.addCustomer(QStringLiteral("Svoboda")); // typed in, never had an order
    s.addOrder(QStringLiteral("2024-00001"), novak1);
    s.addOrder(QStringLiteral("2024-00002"), novak2);
    s.addOrder(QStringLiteral("2024-00003"), novak3);
    s.addOrder(QStringLiteral("2024-00004"), dvorak);

    TCustomerSearchForm form;
    int survivor = novak2;
    if (pendingFilter) {
        // The whole register is still shown when JoinAll comes; only the typed filter counts.
        // After that reload the cursor is on the first row, "NOVÁK JAN" (upper case sorts first).
        child<QLineEdit>(form, "EditFilterName")->setText(QStringLiteral("novák"));
        QVERIFY(child<QTimer>(form, "Timer")->isActive());
        survivor = novak3;
    } else {
        filter(form, QStringLiteral("novák"), QString());
        QCOMPARE(shownNames(form).size(), 3);
        for (int row = 0; row < 3; ++row)
            if (s.data.customerSearchRow(row).CustomerID == novak2)
                setCursor(form, row);
        QCOMPARE(form.currentCustomer().CustomerID, novak2);
    }

    s.ui.answers.push_back(confirm ? Prompts::Answer::Ok : Prompts::Answer::Cancel);
    child<QAction>(form, "JoinAll")->trigger();

    QCOMPARE(s.ui.questions.size(), 1);
    QCOMPARE(s.ui.questions.first().text,
             QStringLiteral("Přejete si sloučit všechny aktuálně zobrazené zákazníky v jednoho?"));
    QVERIFY(s.exists(dvorak));
    QVERIFY(s.exists(walkIn));
    QCOMPARE(s.ownerOf(QStringLiteral("2024-00004")), dvorak);
    if (!confirm) {
        QVERIFY(s.exists(novak1) && s.exists(novak2) && s.exists(novak3));
        QCOMPARE(s.ownerOf(QStringLiteral("2024-00002")), novak2);
        return;
    }
    QList<int> left;
    for (int id : {novak1, novak2, novak3})
        if (s.exists(id))
            left.append(id);
    QCOMPARE(left, QList<int>{survivor});
    for (const char *order : {"2024-00001", "2024-00002", "2024-00003"})
        QCOMPARE(s.ownerOf(QLatin1String(order)), left.first());
    QCOMPARE(shownNames(form).size(), 1);
}

void TestGuiCustomers::joinAllOnEmptyListDoesNothing()
{
    Shop s;
    s.addCustomer(QStringLiteral("Adam"));
    TCustomerSearchForm form;
    filter(form, QStringLiteral("xyz"), QString());
    child<QAction>(form, "JoinAll")->trigger();
    QVERIFY(s.ui.questions.isEmpty());
    QVERIFY(s.ui.messages.isEmpty());
}

void TestGuiCustomers::customerCodesAreEightDigitsAndSpread()
{
    QSet<QString> codes;
    int lowest = 99999999;
    int highest = 0;
    for (int i = 0; i < 2000; ++i) {
        const QString code = CustomerCode::draw();
        QVERIFY2(isCustomerCode(code), qPrintable(code));
        codes.insert(code);
        lowest = std::min(lowest, code.toInt());
        highest = std::max(highest, code.toInt());
    }
    QVERIFY(codes.size() > 1990);
    QVERIFY(lowest < 20000000);
    QVERIFY(highest >= 90000000);
}

void TestGuiCustomers::specialCharactersRoundTrip()
{
    Shop s;
    s.addCustomer(QStringLiteral("Adam"));
    TCustomerSearchForm form;

    CCustomer typed;
    typed.CustomerName = QStringLiteral("O'Brien \"Bob\" 100% 😀");
    typed.CustomerStreet = QStringLiteral("Dlouhá 5'; DROP TABLE t_customer_02; --");
    typed.CustomerCity = QStringLiteral("Žďár nad Sázavou");
    typed.CustomerPSC = QStringLiteral(" 591 01 ");
    typed.CustomerPhoneNo = QStringLiteral("+420 777' 123");
    typed.CustomerEMail = QStringLiteral("bob+%_@example.cz");
    s.ui.dialogHandlers.push_back([&](QDialog &dialog) {
        child<QLineEdit>(dialog, "CustomerNameEdit")->setText(typed.CustomerName);
        child<QLineEdit>(dialog, "CustomerStreetEdit")->setText(typed.CustomerStreet);
        child<QLineEdit>(dialog, "CustomerCityEdit")->setText(typed.CustomerCity);
        child<QLineEdit>(dialog, "CustomerPscEdit")->setText(typed.CustomerPSC);
        child<QLineEdit>(dialog, "CustomerPhoneEdit")->setText(typed.CustomerPhoneNo);
        child<QLineEdit>(dialog, "CustomerEmailEdit")->setText(typed.CustomerEMail);
        child<QCheckBox>(dialog, "CustomerPrintCodeCheckBox")->setChecked(false);
        typed.CustomerCode = child<QLineEdit>(dialog, "CustomerCodeEdit")->text();
        return int(QDialog::Accepted);
    });
    child<QAction>(form, "New")->trigger();
    QVERIFY(s.ui.messages.isEmpty());

    const CCustomer current = form.currentCustomer();
    QVERIFY(current.CustomerID > 0);
    typed.CustomerID = current.CustomerID;
    QCOMPARE(current, typed);
    QCOMPARE(*s.data.GetCustomer(current.CustomerID), typed);
    QVERIFY(shownNames(form).contains(typed.CustomerName));

    // The same texts work as filters.
    filter(form, QStringLiteral("o'brien \"bob\""), QStringLiteral("' 1"));
    QCOMPARE(shownNames(form), QStringList{typed.CustomerName});
    filter(form, QStringLiteral("😀"), QString());
    QCOMPARE(shownNames(form), QStringList{typed.CustomerName});

    // The edit dialog gives back what it was given, untrimmed, with the id.
    TCustomerEditForm edit;
    edit.setCustomer(typed);
    QCOMPARE(edit.customer(), typed);
}

void TestGuiCustomers::editFormKeyboardOrder()
{
    TCustomerEditForm form;
    const QStringList expected{
        QStringLiteral("CustomerNameEdit"),  QStringLiteral("CustomerStreetEdit"),
        QStringLiteral("CustomerCityEdit"),  QStringLiteral("CustomerPscEdit"),
        QStringLiteral("CustomerPhoneEdit"), QStringLiteral("CustomerEmailEdit"),
        QStringLiteral("ButtonOk"),          QStringLiteral("ButtonCancel"),
        QStringLiteral("CustomerCodeEdit"),  QStringLiteral("CustomerPrintCodeCheckBox")};
    QStringList order;
    QWidget *w = child<QWidget>(form, "CustomerNameEdit");
    do {
        if (expected.contains(w->objectName()) && (w->focusPolicy() & Qt::TabFocus))
            order.append(w->objectName());
        w = w->nextInFocusChain();
    } while (w != child<QWidget>(form, "CustomerNameEdit") && order.size() < 20);
    QCOMPARE(order, expected);
    QVERIFY(child<QPushButton>(form, "ButtonOk")->isDefault());
}

void TestGuiCustomers::everyTextKeyExists()
{
    Shop s;
    if (!CSimpleResources::instance().isLoaded())
        QSKIP("no Czech language file in the source tree");
    const QString missing = QStringLiteral("{NULL}");
    TCustomerSearchForm search;
    TCustomerEditForm edit;
    for (const QDialog *dialog :
         {static_cast<const QDialog *>(&search), static_cast<const QDialog *>(&edit)}) {
        QVERIFY(dialog->windowTitle() != missing);
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            QVERIFY2(label->text() != missing, qPrintable(label->buddy()->objectName()));
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            QVERIFY2(button->text() != missing, qPrintable(button->objectName()));
        for (const QAction *action : dialog->findChildren<QAction *>())
            QVERIFY2(action->text() != missing, qPrintable(action->objectName()));
    }
    for (int column = 0; column < 4; ++column) {
        const int logical = grid(search)->horizontalHeader()->logicalIndex(column);
        QVERIFY(grid(search)->model()->headerData(logical, Qt::Horizontal).toString() != missing);
    }
}

QTEST_MAIN(TestGuiCustomers)
#include "tst_gui_customers.moc"
