#include "orderlistdelegate.h"

#include "app/rpx2form.h"
#include "orderlist.h"

#include <QPainter>

OrderListDelegate::OrderListDelegate(TRpx2Form *form, QObject *parent)
    : QStyledItemDelegate(parent), m_form(form)
{
}

QColor OrderListDelegate::colorFromStored(int stored)
{
    return QColor(stored & 0xff, (stored >> 8) & 0xff, (stored >> 16) & 0xff);
}

void OrderListDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QModelIndex idIndex = index.sibling(index.row(), OrderList::ColOrderID);
    if (m_form->heldOrders().contains(idIndex.data().toString()))
        option->font.setBold(true);
}

void OrderListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QVariant stored = index.sibling(index.row(), OrderList::ColStateColor).data();
    if (!stored.isNull() && stored.isValid()) {
        const QColor color = colorFromStored(stored.toInt());
        if (opt.state & QStyle::State_Selected) {
            // The current row is filled with a light tint of its state's colour.
            const QColor tint((color.red() * 35 + 255 * 65) / 100, (color.green() * 35 + 255 * 65) / 100,
                              (color.blue() * 35 + 255 * 65) / 100);
            painter->fillRect(opt.rect, tint);
            opt.state &= ~QStyle::State_Selected;
            opt.palette.setColor(QPalette::Text, Qt::black);
        } else {
            opt.palette.setColor(QPalette::Text, color);
        }
    }
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : nullptr;
    if (style)
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    else
        QStyledItemDelegate::paint(painter, opt, index);
}
