#pragma once

#include <QObject>

class CCNetWorkRequest : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
};
