#include "domain/merchant.h"

#include "store/database.h"

namespace merchant {

std::string setting(Connection &db, std::int64_t mercId, const Setting &s)
{
    Query q = db.query("SELECT value FROM merchant_params WHERE merc_id = ? AND name = ?", mercId,
                       s.name);
    return q.next() ? q.text("value") : std::string(s.fallback);
}

std::string dictionaryText(Connection &db, const char *code, std::int64_t value)
{
    Query q = db.query("SELECT text FROM dictionary WHERE code = ? AND val = ?", code, value);
    return q.next() ? q.text("text") : std::string();
}

} // namespace merchant
