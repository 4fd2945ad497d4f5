#pragma once

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>
#include <vector>

class CConfig;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class SummaryRunner;
class TRpx2Data;

// The summaries dialog: six tabs, each writing one report into an ".xls" file (HTML that the
// spreadsheet program opens) and opening it with the desktop's program. The folder of the
// last report is remembered in the per-user SummaryFilePath.
class TOrderSummaryForm final : public QDialog
{
    Q_OBJECT
public:
    // keyName names the per-user settings ("RPX2"). Needs the open data module.
    explicit TOrderSummaryForm(QWidget *owner = nullptr,
                               const QString &keyName = QStringLiteral("RPX2"));
    ~TOrderSummaryForm() override;

    // Controls, named as the tests find them (objectName equals the member name).
    QTabWidget *PageControl;
    QWidget *SummaryDayTabSheet, *SummaryMonthTabSheet, *SummaryYearTabSheet,
        *SummaryEngineerTabSheet, *SummaryShopTabSheet, *SummaryExportTabSheet;
    QLineEdit *SummaryDayFileEdit, *SummaryMonthFileEdit, *SummaryYearFileEdit,
        *SummaryEngineerFileEdit, *SummaryShopFileEdit, *SummaryExportFileEdit;
    QDateEdit *SummaryDayFromDateTimePicker, *SummaryDayToDateTimePicker,
        *SummaryEngineerFromDateTimePicker, *SummaryEngineerToDateTimePicker,
        *SummaryShopFromDateTimePicker, *SummaryShopToDateTimePicker,
        *SummaryExportFromDateTimePicker, *SummaryExportToDateTimePicker;
    QCheckBox *SummaryDayFromToCheckBox, *SummaryShopFromToCheckBox;
    QComboBox *SummaryMonthMonthComboBox, *SummaryExportRepairTypeComboBox;
    QLineEdit *SummaryMonthYearEdit, *SummaryYearYearEdit;
    QPushButton *SummaryDayButton, *SummaryMonthButton, *SummaryYearButton, *SummaryEngineerButton,
        *SummaryShopButton, *SummaryExportButton, *CloseButton;

private:
    QWidget *addPage(const char *name, const QString &caption, const char *key);
    QLabel *label(QWidget *page, const char *name, const QString &text, const char *key,
                  QWidget *buddy);
    QLineEdit *fileEdit(QWidget *page, const char *name);
    QDateEdit *datePicker(QWidget *page, const char *name);
    QPushButton *runButton(QWidget *page, const char *name, const char *key);
    // The file row on top, the given rows below it, the run button at the bottom right.
    QGridLayout *pageLayout(QWidget *page, QLineEdit *file, const char *fileKey, QPushButton *run);

    void SummaryDayButtonClick();
    void SummaryShopButtonClick();
    void SummaryMonthButtonClick();
    void SummaryYearButtonClick();
    void SummaryEngineerButtonClick();
    void SummaryExportButtonClick();
    void SummaryDayFromToCheckBoxClick();
    void SummaryShopFromToCheckBoxClick();
    void SummaryMonthYearEditChange();
    void SummaryYearYearEditChange();
    void yearEditChange(QLineEdit *edit, QPushButton *run);
    // The default file names follow the chosen day, month or year while their boxes still
    // hold the default of the earlier choice; a name the clerk typed stays.
    void proposeFileNames();
    void proposeFileName(QLineEdit *edit, const QString &name);

    // Writes one report into the tab's file. A file that cannot be written is reported and
    // ends the run; otherwise the folder is remembered and the file opened, or, for a report
    // that says so, the clerk is told that no order was found.
    void runReport(QLineEdit *file, bool tellWhenEmpty,
                   const std::function<int(SummaryRunner &, const QString &)> &report);

    TRpx2Data &m_data;
    std::unique_ptr<CConfig> m_config;
    std::vector<std::function<void()>> m_texts;
    QString m_folder; // of the proposed file names, with a trailing separator
    QHash<QLineEdit *, QString> m_proposedNames;
};
