#pragma once

#include <QObject>

class FileIo : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
};
