#pragma once

#include <QObject>

class BVMessageBox : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
};
