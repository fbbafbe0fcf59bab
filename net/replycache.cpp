#include "net/replycache.h"

#include <QJsonParseError>

#include <vector>

ParsedReply::ParsedReply(const QString &text)
{
    QJsonParseError error;
    doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    valid = error.error == QJsonParseError::NoError;
    if (valid)
        top = doc.object();
}

const QJsonObject &ParsedReply::data() const
{
    if (!dataReady) {
        dataObject = top.value(QLatin1String("data")).toObject();
        dataReady = true;
    }
    return dataObject;
}

const QJsonArray &ParsedReply::list(int dataflag) const
{
    static const QJsonArray none;
    if (dataflag < 0 || dataflag > 2)
        return none;
    if (!listReady[dataflag]) {
        switch (dataflag) {
        case 0:
            lists[0] = top.value(QLatin1String("data")).toArray();
            break;
        case 1:
            lists[1] = data().value(QLatin1String("list")).toArray();
            break;
        default:
            lists[2] = data().value(QLatin1String("proList")).toArray();
            break;
        }
        listReady[dataflag] = true;
    }
    return lists[dataflag];
}

namespace {

struct CacheEntry
{
    QString text;
    std::shared_ptr<const ParsedReply> parsed;
};

// Most recently used first.
struct CacheState
{
    int capacity = ReplyCache::defaultCapacity;
    std::vector<CacheEntry> entries;
};

CacheState &state()
{
    thread_local CacheState cache;
    return cache;
}

void moveToFront(std::vector<CacheEntry> &entries, std::size_t index)
{
    if (index == 0)
        return;
    CacheEntry hit = std::move(entries[index]);
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    entries.insert(entries.begin(), std::move(hit));
}

} // namespace

std::shared_ptr<const ParsedReply> ReplyCache::parse(const QString &text)
{
    CacheState &cache = state();
    if (cache.capacity <= 0)
        return std::make_shared<const ParsedReply>(text);

    auto &entries = cache.entries;
    // The screens pass the very text they were handed, which shares its storage with
    // the cached copy: compare storage first, and only then the characters.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QString &known = entries[i].text;
        if (known.size() == text.size() && known.constData() == text.constData()) {
            moveToFront(entries, i);
            return entries.front().parsed;
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].text == text) {
            moveToFront(entries, i);
            return entries.front().parsed;
        }
    }

    auto parsed = std::make_shared<const ParsedReply>(text);
    entries.insert(entries.begin(), CacheEntry{text, parsed});
    if (entries.size() > static_cast<std::size_t>(cache.capacity))
        entries.resize(static_cast<std::size_t>(cache.capacity));
    return parsed;
}

int ReplyCache::capacity()
{
    return state().capacity;
}

void ReplyCache::setCapacity(int entries)
{
    CacheState &cache = state();
    cache.capacity = entries < 0 ? 0 : entries;
    if (cache.entries.size() > static_cast<std::size_t>(cache.capacity))
        cache.entries.resize(static_cast<std::size_t>(cache.capacity));
}

void ReplyCache::clear()
{
    state().entries.clear();
}
