#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

// What the screen tests need from outside QML: the reference backend's address, the
// environment the configuration is read from, files in the test's working folder, and a
// place to leave screenshots for a look by eye.
class TestSupport : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString backendUrl READ backendUrl CONSTANT)
    Q_PROPERTY(QString shotsDir READ shotsDir CONSTANT)

public:
    explicit TestSupport(QObject *parent = nullptr);

    // Reads the fixture's address file and points the terminal's configuration at it.
    static void configureBackend();
    // Message boxes are recorded here instead of shown: the test runner has no widgets, and
    // a modal box would stop the test. Each is confirmed unless a test says otherwise.
    static void recordMessageBoxes();

    // The boxes shown since the last clearBoxes(): [kind, title, text] each.
    Q_INVOKABLE QVariantList boxes() const;
    Q_INVOKABLE void clearBoxes();
    Q_INVOKABLE void confirmBoxes(bool confirm);
    // A box shown by a stand-in of the test's own, which the test answers itself.
    Q_INVOKABLE void recordBox(const QString &kind, const QString &title, const QString &text);

    QString backendUrl() const;
    QString shotsDir() const;

    // setEnv() remembers each variable's value from before the test; restoreEnv() puts them
    // all back (unset where they were unset).
    Q_INVOKABLE void setEnv(const QString &name, const QString &value);
    Q_INVOKABLE void restoreEnv();
    Q_INVOKABLE QString readFile(const QString &path) const;
    Q_INVOKABLE bool writeFile(const QString &path, const QString &text);
    Q_INVOKABLE bool exists(const QString &path) const;
    // A file, or a folder with what it holds.
    Q_INVOKABLE bool removeFile(const QString &path);

    // A printed PDF read back as tests/print reads it: the text of each page, whitespace
    // removed, and the codes on a page decoded ("QR-Code:...", "CODE-128:..."), sorted.
    Q_INVOKABLE QStringList pdfPages(const QString &pdf) const;
    Q_INVOKABLE QStringList pdfCodes(const QString &pdf, int page) const;

signals:
    // Every box recorded, as it is shown.
    void boxShown(const QString &kind, const QString &title, const QString &text);
};
