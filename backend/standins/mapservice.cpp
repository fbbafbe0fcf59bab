// Stand-in for the map web service, answering from a small list of real places.
//   POST|GET /amap/v3/ip, GET /amap/v3/config/district, GET /amap/v3/assistant/inputtips,
//   GET /amap/v3/staticmap (a PNG with the markers drawn). Every call checks `key`.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include <httplib.h>
#include <json/value.h>

#include "server/backendserver.h"
#include "server/json.h"
#include "standins/pngimage.h"
#include "standins/standins.h"

namespace {

struct District
{
    const char *name;
    const char *adcode;
    const char *cityAdcode; // the city it lies in (itself for a city)
    const char *citycode;
    const char *center;
    const char *level;
};

const District districts[] = {
    {"上海市", "310000", "310000", "021", "121.473667,31.230525", "city"},
    {"黄浦区", "310101", "310000", "021", "121.484443,31.231763", "district"},
    {"徐汇区", "310104", "310000", "021", "121.436525,31.188523", "district"},
    {"长宁区", "310105", "310000", "021", "121.424624,31.220367", "district"},
    {"静安区", "310106", "310000", "021", "121.447348,31.227718", "district"},
    {"浦东新区", "310115", "310000", "021", "121.544346,31.221461", "district"},
    {"杭州市", "330100", "330100", "0571", "120.209947,30.245853", "city"},
    {"上城区", "330102", "330100", "0571", "120.169312,30.242404", "district"},
    {"拱墅区", "330105", "330100", "0571", "120.141406,30.319037", "district"},
    {"西湖区", "330106", "330100", "0571", "120.130396,30.259242", "district"},
};

struct Place
{
    const char *id;
    const char *name;
    const char *district; // province, city and district as one text
    const char *adcode;
    const char *location;
    const char *address;
    const char *kinds; // words a search may use besides the name
};

const Place places[] = {
    {"B00155L3Z5", "徐家汇站", "上海市徐汇区", "310104", "121.437431,31.195413",
     "1号线;9号线;11号线", "地铁站 车站"},
    {"B00155JZ6C", "港汇恒隆广场", "上海市徐汇区", "310104", "121.437881,31.193874", "虹桥路1号",
     "商场 购物"},
    {"B00156KQ9P", "上海交通大学(徐汇校区)", "上海市徐汇区", "310104", "121.436858,31.200587",
     "华山路1954号", "学校 大学"},
    {"B0FFG3TJ4K", "徐汇中学", "上海市徐汇区", "310104", "121.435563,31.193104", "虹桥路68号",
     "学校 中学"},
    {"B00155M0R8", "联华超市(漕溪北路店)", "上海市徐汇区", "310104", "121.437911,31.188032",
     "漕溪北路595号", "超市 购物"},
    {"B0FFH2X1QD", "徐汇苑", "上海市徐汇区", "310104", "121.441127,31.183517", "漕溪北路331弄",
     "小区 住宅区"},
    {"B00155N2KX", "漕河泾开发区", "上海市徐汇区", "310104", "121.398183,31.169532", "宜山路900号",
     "公司 园区"},
    {"B00156AB12", "静安寺", "上海市静安区", "310106", "121.445303,31.223336", "南京西路1686号",
     "风景名胜 寺庙"},
    {"B00156AB20", "上海展览中心", "上海市静安区", "310106", "121.453397,31.225564",
     "延安中路1000号", "展览"},
    {"B00156AB33", "久光百货", "上海市静安区", "310106", "121.446028,31.224224", "南京西路1618号",
     "商场 购物"},
    {"B0FFF8AB41", "静安嘉里中心", "上海市静安区", "310106", "121.451148,31.226476",
     "南京西路1515号", "商场 购物"},
    {"B0FFK1AB52", "静安新城", "上海市静安区", "310106", "121.452117,31.281926", "共和新路3088弄",
     "小区 住宅区"},
    {"B0FFK1AB60", "家乐福(曲阳店)", "上海市虹口区", "310109", "121.486121,31.281604",
     "中山北一路1111号", "超市 购物"},
    {"B00155X001", "人民广场", "上海市黄浦区", "310101", "121.475190,31.232180", "人民大道",
     "广场 地铁站"},
    {"B00155X002", "新天地", "上海市黄浦区", "310101", "121.474625,31.219713", "马当路245号",
     "商场 购物"},
    {"B00155X003", "陆家嘴", "上海市浦东新区", "310115", "121.502184,31.240318", "陆家嘴环路",
     "地铁站 商圈"},
    {"B00155X004", "世纪公园", "上海市浦东新区", "310115", "121.551331,31.215823", "锦绣路1001号",
     "公园 风景名胜"},
    {"B00155X005", "中山公园", "上海市长宁区", "310105", "121.416952,31.219423", "长宁路780号",
     "公园 地铁站"},
    {"B0FFG5H001", "杭州东站", "浙江省杭州市上城区", "330102", "120.212625,30.290851", "天城路1号",
     "车站 火车站"},
    {"B0FFG5H002", "湖滨银泰in77", "浙江省杭州市上城区", "330102", "120.163963,30.255497",
     "东坡路7号", "商场 购物"},
    {"B0FFG5H003", "世纪联华(庆春店)", "浙江省杭州市上城区", "330102", "120.181577,30.261378",
     "庆春路86号", "超市 购物"},
    {"B0FFG5H004", "浙江大学(玉泉校区)", "浙江省杭州市西湖区", "330106", "120.123749,30.265013",
     "浙大路38号", "学校 大学"},
    {"B0FFG5H005", "西湖风景名胜区", "浙江省杭州市西湖区", "330106", "120.141264,30.236902",
     "龙井路1号", "风景名胜 公园"},
    {"B0FFG5H006", "翠苑一区", "浙江省杭州市西湖区", "330106", "120.127366,30.289051",
     "文三路435号", "小区 住宅区"},
    {"B0FFG5H007", "杭州大悦城", "浙江省杭州市拱墅区", "330105", "120.133484,30.318569",
     "上塘路458号", "商场 购物"},
};

// The city named by an adcode, city code or (leading part of a) name, of a city or a district.
const District *cityOf(const std::string &text)
{
    for (const auto &d : districts) {
        if (text != d.adcode && text != d.citycode && std::string(d.name).rfind(text, 0) != 0)
            continue;
        for (const auto &c : districts)
            if (std::string(c.adcode) == d.cityAdcode)
                return &c;
    }
    return nullptr;
}

void sendJson(httplib::Response &res, const Json::Value &v)
{
    res.set_content(json::write(v), "application/json;charset=UTF-8");
}

// Every answer carries the service's status fields; a wrong key answers only them.
bool keyAccepted(const BackendServer &server, const httplib::Request &req, httplib::Response &res)
{
    if (req.get_param_value("key") == server.options().mapKey)
        return true;
    Json::Value v(Json::objectValue);
    v["status"] = "0";
    v["info"] = "INVALID_USER_KEY";
    v["infocode"] = "10001";
    sendJson(res, v);
    return false;
}

Json::Value okStatus()
{
    Json::Value v(Json::objectValue);
    v["status"] = "1";
    v["info"] = "OK";
    v["infocode"] = "10000";
    return v;
}

void ipLocation(const httplib::Request &, httplib::Response &res)
{
    // Every address is placed in the demo merchant's city.
    Json::Value v = okStatus();
    v["province"] = "上海市";
    v["city"] = "上海市";
    v["adcode"] = "310000";
    v["rectangle"] = "121.1572417,30.99030473;121.8287614,31.46075218";
    sendJson(res, v);
}

void districtQuery(const httplib::Request &req, httplib::Response &res)
{
    const std::string keywords = req.get_param_value("keywords");
    Json::Value list(Json::arrayValue);
    for (const auto &d : districts) {
        const std::string name = d.name;
        if (keywords.empty() || !(name == keywords || name.rfind(keywords, 0) == 0))
            continue;
        Json::Value e(Json::objectValue);
        e["citycode"] = d.citycode;
        e["adcode"] = d.adcode;
        e["name"] = d.name;
        e["center"] = d.center;
        e["level"] = d.level;
        e["districts"] = Json::Value(Json::arrayValue);
        list.append(e);
    }
    Json::Value v = okStatus();
    v["count"] = std::to_string(list.size());
    v["districts"] = list;
    sendJson(res, v);
}

// Adcodes are province, city, district digit pairs; a municipality's districts share only
// the province pair with it (310000 and 310104).
bool inCity(const Place &p, const District *city)
{
    const std::string place = p.adcode, wanted = city->adcode;
    const size_t digits = wanted.compare(2, 4, "0000") == 0 ? 2 : 4;
    return place.compare(0, digits, wanted, 0, digits) == 0;
}

void inputTips(const httplib::Request &req, httplib::Response &res)
{
    const std::string keywords = req.get_param_value("keywords");
    const std::string cityText = req.get_param_value("city");
    const bool limit = req.get_param_value("citylimit") == "true";
    const District *city = cityText.empty() ? nullptr : cityOf(cityText);
    Json::Value tips(Json::arrayValue);
    for (const auto &p : places) {
        if (keywords.empty())
            break;
        const std::string hay =
            std::string(p.name) + " " + p.address + " " + p.district + " " + p.kinds;
        if (hay.find(keywords) == std::string::npos)
            continue;
        if (limit && !cityText.empty() && (!city || !inCity(p, city)))
            continue;
        Json::Value t(Json::objectValue);
        t["id"] = p.id;
        t["name"] = p.name;
        t["district"] = p.district;
        t["adcode"] = p.adcode;
        t["location"] = p.location;
        t["address"] = p.address;
        t["typecode"] = "";
        t["city"] = Json::Value(Json::arrayValue);
        tips.append(t);
    }
    Json::Value v = okStatus();
    v["count"] = std::to_string(tips.size());
    v["tips"] = tips;
    sendJson(res, v);
}

bool parseLocation(const std::string &text, double &lng, double &lat)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    char *end = nullptr;
    lng = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + comma)
        return false;
    const std::string rest = text.substr(comma + 1);
    lat = std::strtod(rest.c_str(), &end);
    return end == rest.c_str() + rest.size() && std::fabs(lat) < 85 && std::fabs(lng) <= 180;
}

// Web Mercator pixel coordinates at the zoom level (256-pixel tiles).
void project(double lng, double lat, int zoom, double &x, double &y)
{
    const double pi = 3.14159265358979323846;
    const double scale = 256.0 * std::pow(2.0, zoom);
    x = (lng + 180.0) / 360.0 * scale;
    const double s = std::sin(lat * pi / 180.0);
    y = (0.5 - std::log((1 + s) / (1 - s)) / (4 * pi)) * scale;
}

void staticMap(const httplib::Request &req, httplib::Response &res)
{
    double lng = 0, lat = 0;
    int width = 300, height = 300;
    const std::string size = req.get_param_value("size");
    if (!size.empty() && std::sscanf(size.c_str(), "%d*%d", &width, &height) != 2)
        width = height = 300;
    const int scale = req.get_param_value("scale") == "2" ? 2 : 1;
    int zoom = std::atoi(req.get_param_value("zoom").c_str());
    if (zoom < 1 || zoom > 17)
        zoom = 10;
    if (!parseLocation(req.get_param_value("location"), lng, lat) || width < 1 || height < 1 ||
        width > 1024 || height > 1024) {
        Json::Value v(Json::objectValue);
        v["status"] = "0";
        v["info"] = "INVALID_PARAMS";
        v["infocode"] = "20000";
        return sendJson(res, v);
    }
    PngImage img(width * scale, height * scale, 0xf2efe9);
    double cx = 0, cy = 0;
    project(lng, lat, zoom, cx, cy);
    // Streets every 64 map pixels, fixed to the map so different places look different.
    const int step = 64 * scale;
    const int offX = static_cast<int>(std::fmod(cx * scale, step));
    const int offY = static_cast<int>(std::fmod(cy * scale, step));
    for (int x = -offX; x < img.width(); x += step)
        img.fillRect(x, 0, 3 * scale, img.height(), 0xffffff);
    for (int y = -offY; y < img.height(); y += step)
        img.fillRect(0, y, img.width(), 3 * scale, 0xffffff);
    img.fillRect(0, img.height() * 2 / 3, img.width(), 10 * scale, 0xaad3df); // a river

    // markers: "large,,1:lng,lat|large,,2:lng,lat"
    std::stringstream markers(req.get_param_value("markers"));
    std::string one;
    while (std::getline(markers, one, '|')) {
        const auto colon = one.rfind(':');
        double mlng = 0, mlat = 0;
        if (colon == std::string::npos || !parseLocation(one.substr(colon + 1), mlng, mlat))
            continue;
        const std::string label =
            one.substr(one.rfind(',', colon) + 1, colon - one.rfind(',', colon) - 1);
        double mx = 0, my = 0;
        project(mlng, mlat, zoom, mx, my);
        const int px = static_cast<int>((mx - cx) * scale) + img.width() / 2;
        const int py = static_cast<int>((my - cy) * scale) + img.height() / 2;
        img.fillCircle(px, py - 12 * scale, 10 * scale, 0xe53935);
        img.fillRect(px - scale, py - 4 * scale, 2 * scale, 4 * scale, 0xe53935);
        img.drawDigits(px - 3 * scale, py - 17 * scale, label, 2 * scale, 0xffffff);
    }
    res.set_content(img.encode(), "image/png");
}

} // namespace

void standins::registerMapService(BackendServer &server)
{
    auto guarded = [&server](void (*fn)(const httplib::Request &, httplib::Response &)) {
        return [&server, fn](const httplib::Request &req, httplib::Response &res) {
            if (keyAccepted(server, req, res))
                fn(req, res);
        };
    };
    server.http().Post("/amap/v3/ip", guarded(ipLocation));
    server.http().Get("/amap/v3/ip", guarded(ipLocation));
    server.http().Get("/amap/v3/config/district", guarded(districtQuery));
    server.http().Get("/amap/v3/assistant/inputtips", guarded(inputTips));
    server.http().Get("/amap/v3/staticmap", guarded(staticMap));
}
