#pragma once

#include <QStyledItemDelegate>

class TRpx2Form;

// Paints the order list: text in the colour of the order's state, the current row filled
// with that colour, held orders in bold.
class OrderListDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    OrderListDelegate(TRpx2Form *form, QObject *parent);
    // The list colour numbers are stored in blue-green-red byte order.
    static QColor colorFromStored(int stored);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    TRpx2Form *m_form;
};
