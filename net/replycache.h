#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <memory>

// One reply text parsed once. Screens call several extractors per row of a list, all on
// the same reply text, so the parsed form and the lists they walk are kept together.
class ParsedReply
{
public:
    explicit ParsedReply(const QString &text);

    bool isValid() const { return valid; }
    const QJsonDocument &document() const { return doc; }
    // The top object; empty when the text is not JSON or its top is an array.
    const QJsonObject &root() const { return top; }
    // root.data as an object (empty when absent or not an object).
    const QJsonObject &data() const;
    // data (0), data.list (1) or data.proList (2) as an array; empty when it is not one.
    const QJsonArray &list(int dataflag) const;

private:
    QJsonDocument doc;
    QJsonObject top;
    bool valid = false;
    // Filled on first use; a reply is only ever read on the thread that parsed it.
    mutable bool dataReady = false;
    mutable QJsonObject dataObject;
    mutable bool listReady[3] = {false, false, false};
    mutable QJsonArray lists[3];
};

// The parsed forms of the most recently read reply texts, keyed by the text (a small
// LRU, one per thread). Results are the same whether a text comes from here or is
// parsed afresh; capacity 0 parses every time.
class ReplyCache
{
public:
    static std::shared_ptr<const ParsedReply> parse(const QString &text);

    static int capacity();
    static void setCapacity(int entries);
    static void clear();

    static constexpr int defaultCapacity = 8;
};
