#pragma once

#include "records.h"

#include <QAbstractTableModel>
#include <QList>
#include <QVariant>

class TRpx2Data;

// The customer register filtered by name and phone substrings, in the order of the shop's
// language (name, city, phone, e-mail). It never reads the whole register: the first page
// comes with the filter, the next ones as the view scrolls down (each one after the last
// row read, along the same order), so that a keystroke in a register of hundreds of
// thousands of customers shows its first screen at once.
class CustomerSearchModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The columns, in this order.
    enum Column {
        ColName,
        ColCity,
        ColPhoneNo,
        ColEMail,
        ColID,
        ColCode,
        ColShowCode,
        ColStreet,
        ColPSC,
        ColCount
    };

    CustomerSearchModel(TRpx2Data &data, QObject *parent);

    // Reads the first page for the filters (trimmed texts; empty matches every customer,
    // one without that value included). Throws RpxError; the model is then empty.
    void reload(const QString &name, const QString &phoneNo);
    // Reads pages until the row exists or the register ends; false when it does not.
    bool fetchUntil(int row);
    // Reads pages until the customer is among the rows; its row, -1 when the filter does
    // not show it.
    int rowOfCustomer(int customerId);
    // The ids of every customer the filter shows, read apart (not in the list's order).
    QList<int> allIds() const;

    CCustomer customerAt(int row) const; // an empty record for a row that is not there

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QString conditions(QVariantList &values) const;
    QList<CCustomer> readPage(int limit) const;

    TRpx2Data &m_data;
    QString m_name;
    QString m_phoneNo;
    QList<CCustomer> m_rows;
    bool m_complete = true;
    QHash<int, QString> m_titles;
};
