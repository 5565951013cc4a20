#include "link/ddetopic.h"

#include "link/ddeframe.h"
#include "link/ddeserver.h"
#include "link/ddesocket.h"

namespace vespario::link {

bool CDDEItem::Request(uint32_t, std::string &) {
    return false;
}
bool CDDEItem::Poke(uint32_t, std::string_view) {
    return false;
}
bool CDDEItem::CanAdvise(uint32_t) {
    return false;
}

bool CDDEStringItem::Request(uint32_t format, std::string &data) {
    if (format != kCfText)
        return false;
    data = TextData(m_text);
    return true;
}

bool CDDEStringItem::Poke(uint32_t format, std::string_view data) {
    if (format != kCfText)
        return false;
    m_text = std::string(TextOfData(data));
    return true;
}

bool CDDEStringItem::CanAdvise(uint32_t format) {
    return format == kCfText;
}

bool CDDETopic::Request(std::string_view item, uint32_t format, std::string &data) {
    CDDEItem *found = FindItem(item);
    return found && found->Request(format, data);
}

bool CDDETopic::Poke(std::string_view item, uint32_t format, std::string_view data) {
    CDDEItem *found = FindItem(item);
    return found && found->Poke(format, data);
}

bool CDDETopic::Exec(std::string_view) {
    return false;
}

CDDEItem *CDDETopic::FindItem(std::string_view name) {
    for (const auto &item : m_items) {
        if (EqualNoCaseAscii(item->Name(), name))
            return item.get();
    }
    return nullptr;
}

bool CDDETopic::CanAdvise(std::string_view item, uint32_t format) {
    CDDEItem *found = FindItem(item);
    return found && found->CanAdvise(format);
}

void CDDETopic::AddItem(std::shared_ptr<CDDEItem> item) {
    item->SetTopic(this);
    m_items.push_back(std::move(item));
}

std::string_view TextOfData(std::string_view data) {
    return data.substr(0, data.find('\0'));
}

std::string TextData(std::string_view text) {
    std::string data(text);
    data.push_back('\0');
    return data;
}

bool CDDESystemItem::Request(uint32_t format, std::string &data) {
    if (format != kCfText)
        return false;
    std::string joined;
    for (const std::string &name : Names()) {
        if (!joined.empty())
            joined.push_back('\t');
        joined += name;
    }
    data = TextData(joined);
    return true;
}

std::vector<std::string> CDDESystemItem_TopicList::Names() const {
    std::vector<std::string> names;
    if (Topic() && Topic()->Server()) {
        for (const auto &topic : Topic()->Server()->Topics())
            names.push_back(topic->Name());
    }
    return names;
}

std::vector<std::string> CDDESystemItem_ItemList::Names() const {
    std::vector<std::string> names;
    if (Topic()) {
        for (const auto &item : Topic()->Items())
            names.push_back(item->Name());
    }
    return names;
}

std::vector<std::string> CDDESystemItem_FormatList::Names() const {
    return {"TEXT"};
}

bool CDDEServerSystemTopic::Request(std::string_view item, uint32_t format, std::string &data) {
    if (Server())
        Server()->Status("System topic request: %s", LogText(item).c_str());
    return CDDETopic::Request(item, format, data);
}

} // namespace vespario::link
