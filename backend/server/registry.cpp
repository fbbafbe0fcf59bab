#include "server/registry.h"

void ApiRegistry::read(const std::string &path, Access access, Handler handler, Upkeep upkeep)
{
    add(path, Entry{access, Effect::Read, std::move(handler), std::move(upkeep)});
}

void ApiRegistry::write(const std::string &path, Access access, Handler handler, Upkeep upkeep)
{
    add(path, Entry{access, Effect::Write, std::move(handler), std::move(upkeep)});
}

void ApiRegistry::add(const std::string &path, Entry entry)
{
    if (!entries_.emplace(path, std::move(entry)).second)
        throw std::logic_error("endpoint registered twice: " + path);
}

const ApiRegistry::Entry *ApiRegistry::find(const std::string &path) const
{
    auto it = entries_.find(path);
    return it == entries_.end() ? nullptr : &it->second;
}

std::vector<std::string> ApiRegistry::paths() const
{
    std::vector<std::string> all;
    all.reserve(entries_.size());
    for (const auto &entry : entries_)
        all.push_back(entry.first);
    return all;
}
