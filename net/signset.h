#pragma once

#include <QObject>

class SignSet : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
};
