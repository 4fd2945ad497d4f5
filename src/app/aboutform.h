#pragma once

#include <QDialog>

// The about box: product name, version and build date.
class TRpxAboutForm final : public QDialog
{
    Q_OBJECT
public:
    explicit TRpxAboutForm(QWidget *parent = nullptr);
};
