// rfid/user/...: RFID member cards: the customer on the reader, binding a card from stock,
// unbinding it and voiding a lost one.

#include "api/families.h"
#include "domain/members.h"
#include "domain/ownership.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

using ownership::owned;
namespace records = ownership::records;

namespace {

// A member card's secret is the card's number.
Json::Value byRfidSecret(Call &call)
{
    const std::string secret = trimmed(call.requiredText("rfidSecret"));
    return members::recordOrEmpty(
        call, call.db.scalar(0,
                             "SELECT id FROM users WHERE merc_id = ? AND rfid_no = ? COLLATE "
                             "NOCASE",
                             call.mercId, secret));
}

// A card from stock whose printed check code matches goes onto a member without one.
Json::Value bindCard(Call &call)
{
    const std::int64_t userId = owned(call, records::member, "userId");
    const std::string rfidNo = trimmed(call.requiredText("rfidNo"));
    const std::string checkCode = trimmed(call.requiredText("checkCode"));
    if (call.db.scalar(0, "SELECT COUNT(*) FROM users WHERE id = ? AND rfid_no IS NOT NULL",
                       userId))
        throw ApiError(codes::conflict, "该会员已绑定会员卡");
    Query card = call.db.query("SELECT check_code AS checkCode, status FROM member_cards "
                               "WHERE rfid_no = ? COLLATE NOCASE",
                               rfidNo);
    if (!card.next()) {
        if (call.db.scalar(0, "SELECT COUNT(*) FROM users WHERE rfid_no = ? COLLATE NOCASE",
                           rfidNo))
            throw ApiError(codes::conflict, "该卡已绑定其他会员");
        throw ApiError(codes::notFound, "卡号不存在");
    }
    if (card.integer("status") == memberCardState::voided)
        throw ApiError(codes::conflict, "该卡已作废");
    const std::string storedCheck = card.text("checkCode");
    if (storedCheck != checkCode)
        throw ApiError(codes::forbidden, "验证码错误");
    call.db.exec("DELETE FROM member_cards WHERE rfid_no = ? COLLATE NOCASE", rfidNo);
    call.db.exec("UPDATE users SET rfid_no = ?, rfid_check = ? WHERE id = ?", rfidNo, storedCheck,
                 userId);
    return Json::Value(Json::objectValue);
}

// Takes the member's card off the member: back into stock (unbind) or void (lost card).
Json::Value releaseCard(Call &call, int cardStatus)
{
    const std::int64_t userId = owned(call, records::member, "userId");
    Query q = call.db.query("SELECT rfid_no AS rfidNo, rfid_check AS checkCode FROM users "
                            "WHERE id = ? AND rfid_no IS NOT NULL",
                            userId);
    if (!q.next())
        throw ApiError(codes::conflict, "该会员未绑定会员卡");
    call.db.exec("INSERT OR REPLACE INTO member_cards (rfid_no, check_code, status, changed_at) "
                 "VALUES (?, ?, ?, ?)",
                 q.text("rfidNo"), q.text("checkCode"), cardStatus, call.now);
    call.db.exec("UPDATE users SET rfid_no = NULL, rfid_check = '' WHERE id = ?", userId);
    return Json::Value(Json::objectValue);
}

Json::Value unbindCard(Call &call)
{
    return releaseCard(call, memberCardState::inStock);
}

Json::Value voidCard(Call &call)
{
    return releaseCard(call, memberCardState::voided);
}

} // namespace

void api::rfid::registerEndpoints(ApiRegistry &api)
{
    api.read("rfid/user", Access::Worker, byRfidSecret);
    api.write("rfid/user/manual/binding", Access::Worker, bindCard);
    api.write("rfid/user/cancel", Access::Worker, voidCard);
    api.write("rfid/user/unbundling", Access::Worker, unbindCard);
}
