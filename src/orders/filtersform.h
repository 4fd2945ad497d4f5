#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QSqlTableModel;
class QTableView;
class QToolButton;
class TRpx2Data;

// The lists dialog: the shop's device-type list and engineer list, each with its mode (as a
// filter that hides the names from the suggestions, or as the offer itself) and whether the
// order form accepts free typing. List rows are written to the database as they are posted,
// and closing the dialog either way posts what is still pending; OK also stores the modes
// and the free-typing flags, Cancel leaves those as they were.
//
// The constructor reads the settings and opens both lists through the process-wide data
// module; it throws RpxError when the database is not open.
class TFiltersForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TFiltersForm(QWidget *owner = nullptr);
    ~TFiltersForm() override;

    // Posts both lists (and on Accepted stores the settings) before closing. When posting
    // fails, the error is shown and the dialog stays open.
    void done(int result) override;

private:
    enum class ListKind { Phone, Engineer };
    struct ListPage
    {
        ListKind kind;
        QSqlTableModel *model = nullptr;
        QTableView *grid = nullptr;
        QButtonGroup *mode = nullptr;
        QCheckBox *fullEdit = nullptr;
        QPushButton *deleteButton = nullptr;
        QToolButton *deleteRowButton = nullptr;
        QToolButton *editRowButton = nullptr;
        int idColumn = -1;
        int nameColumn = -1;
    };

    QWidget *createPage(ListPage &page, const QString &prefix, const QString &title,
                        const QStringList &modeItems);
    QWidget *createNavigator(ListPage &page, const QString &prefix);
    void applyTexts();
    void loadSettings();
    void storeSettings();

    void insertRow(ListPage &page);
    void deleteRow(ListPage &page);
    void editRow(ListPage &page);
    void postRows(ListPage &page);
    void cancelRows(ListPage &page);
    void clearList(ListPage &page);

    void commitEditor(ListPage &page);
    void discardEditor(ListPage &page);
    bool rowPending(const ListPage &page, int row) const;
    void reselect(ListPage &page, const QString &currentName);
    void updateNavigator(ListPage &page);

    TRpx2Data &m_data;
    ListPage m_phones{ListKind::Phone};
    ListPage m_engineers{ListKind::Engineer};
};
