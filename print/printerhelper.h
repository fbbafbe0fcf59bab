#pragma once

#include <QObject>

class PrinterHelper : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
};
