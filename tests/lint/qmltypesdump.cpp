// Writes a qmltypes description of every native type the screens import, one module folder
// each, so qmllint can check the screens against the real members of those types.
#include "app/appconfig.h"
#include "app/bvmessagebox.h"
#include "device/fileio.h"
#include "net/ccnetworkrequest.h"
#include "net/signset.h"
#include "print/printerhelper.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMetaMethod>
#include <QMetaObject>
#include <QTextStream>

namespace {

struct Export
{
    const QMetaObject *meta;
    QString uri;
    QString name;
    bool singleton;
};

void writeMethod(QTextStream &out, const QMetaMethod &method)
{
    const char *kind = method.methodType() == QMetaMethod::Signal ? "Signal" : "Method";
    out << "        " << kind << " {\n";
    out << "            name: \"" << method.name() << "\"\n";
    if (method.returnType() != QMetaType::Void)
        out << "            type: \"" << method.typeName() << "\"\n";
    const auto names = method.parameterNames();
    const auto types = method.parameterTypes();
    for (int i = 0; i < types.size(); ++i)
        out << "            Parameter { name: \"" << names.value(i) << "\"; type: \"" << types[i]
            << "\" }\n";
    out << "        }\n";
}

void writeComponent(QTextStream &out, const Export &e)
{
    const QMetaObject *meta = e.meta;
    out << "    Component {\n";
    out << "        name: \"" << meta->className() << "\"\n";
    out << "        prototype: \"QObject\"\n";
    out << "        exports: [\"" << e.uri << "/" << e.name << " 1.0\"]\n";
    out << "        exportMetaObjectRevisions: [0]\n";
    if (e.singleton)
        out << "        isCreatable: false\n        isSingleton: true\n";
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        out << "        Property { name: \"" << p.name() << "\"; type: \"" << p.typeName() << "\""
            << (p.isWritable() ? "" : "; isReadonly: true") << " }\n";
    }
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.access() != QMetaMethod::Private)
            writeMethod(out, m);
    }
    out << "    }\n";
}

bool writeModule(const QString &root, const QString &uri, const QList<Export> &exports,
                 const QStringList &extraQmldirLines)
{
    const QString dir = root + "/" + QString(uri).replace('.', '/');
    QDir().mkpath(dir);
    QFile types(dir + "/plugins.qmltypes");
    QFile qmldir(dir + "/qmldir");
    if (!types.open(QIODevice::WriteOnly | QIODevice::Text) ||
        !qmldir.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&types);
    out << "import QtQuick.tooling 1.2\nModule {\n    dependencies: [\"QtQuick 2.0\"]\n";
    for (const Export &e : exports)
        writeComponent(out, e);
    out << "}\n";
    QTextStream dirOut(&qmldir);
    dirOut << "module " << uri << "\nplugin lintonly\ntypeinfo plugins.qmltypes\n";
    for (const QString &line : extraQmldirLines)
        dirOut << line << "\n";
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: qmltypesdump OUTPUT_DIR\n";
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QList<Export> types = {
        {&FileIo::staticMetaObject, "FileIo", "FileIo", false},
        {&CCNetWorkRequest::staticMetaObject, "ks.Net.CCRequest", "CCRequest", false},
        {&SignSet::staticMetaObject, "SignSet", "SignSet", false},
        {&PrinterHelper::staticMetaObject, "PrinterHelper", "PrinterHelper", false},
        {&BVMessageBox::staticMetaObject, "BVMessageBox", "BVMessageBox", false},
    };
    bool ok = true;
    for (const Export &e : types)
        ok = writeModule(root, e.uri, {e}, {}) && ok;
    ok = writeModule(root, "Brenvo", {{&AppConfig::staticMetaObject, "Brenvo", "AppConfig", true}},
                     {"singleton Session 1.0 Session.qml", "singleton Theme 1.0 Theme.qml",
                      "singleton Logs 1.0 Logs.qml"}) &&
         ok;
    return ok ? 0 : 1;
}
