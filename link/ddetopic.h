#pragma once
// Topics and their items: what a service offers to the programs that talk to it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vespario::link {

class CDDEServer;
class CDDETopic;

// A named item of a topic. By default an item refuses everything.
class CDDEItem {
public:
    explicit CDDEItem(std::string name) : m_name(std::move(name)) {}
    virtual ~CDDEItem() = default;

    const std::string &Name() const { return m_name; }
    CDDETopic *Topic() const { return m_topic; }
    void SetTopic(CDDETopic *topic) { m_topic = topic; }

    // The item's value in format; false when it has none in that format.
    virtual bool Request(uint32_t format, std::string &data);
    virtual bool Poke(uint32_t format, std::string_view data);
    virtual bool CanAdvise(uint32_t format);

private:
    std::string m_name;
    CDDETopic *m_topic = nullptr;
};

// An item whose value is a text. On the wire a text ends with its NUL byte.
class CDDEStringItem : public CDDEItem {
public:
    CDDEStringItem(std::string name, std::string text = {})
        : CDDEItem(std::move(name)), m_text(std::move(text)) {}

    const std::string &Text() const { return m_text; }
    void SetText(std::string text) { m_text = std::move(text); }

    bool Request(uint32_t format, std::string &data) override;
    bool Poke(uint32_t format, std::string_view data) override;
    bool CanAdvise(uint32_t format) override;

private:
    std::string m_text;
};

using CDDEItemList = std::vector<std::shared_ptr<CDDEItem>>;

// A named topic of a server and its items. A topic refuses commands unless a derived topic
// takes them.
class CDDETopic {
public:
    explicit CDDETopic(std::string name) : m_name(std::move(name)) {}
    virtual ~CDDETopic() = default;

    const std::string &Name() const { return m_name; }
    CDDEServer *Server() const { return m_server; }
    void SetServer(CDDEServer *server) { m_server = server; }

    virtual bool Request(std::string_view item, uint32_t format, std::string &data);
    virtual bool Poke(std::string_view item, uint32_t format, std::string_view data);
    virtual bool Exec(std::string_view command);
    // The item of that name, compared without regard to case; nullptr when there is none.
    virtual CDDEItem *FindItem(std::string_view name);
    virtual bool CanAdvise(std::string_view item, uint32_t format);
    virtual void AddItem(std::shared_ptr<CDDEItem> item);
    virtual const CDDEItemList &Items() const { return m_items; }

private:
    std::string m_name;
    CDDEServer *m_server = nullptr;
    CDDEItemList m_items;
};

using CDDETopicList = std::vector<std::shared_ptr<CDDETopic>>;

// The text of text data: up to its first NUL byte.
std::string_view TextOfData(std::string_view data);
// Text as text data: with its terminating NUL byte.
std::string TextData(std::string_view text);

// The items of the "System" topic: lists of names joined by a tab.
class CDDESystemItem : public CDDEItem {
public:
    using CDDEItem::CDDEItem;
    bool Request(uint32_t format, std::string &data) override;

protected:
    virtual std::vector<std::string> Names() const = 0;
};

// "Topics": the names of the server's topics.
class CDDESystemItem_TopicList : public CDDESystemItem {
public:
    using CDDESystemItem::CDDESystemItem;

protected:
    std::vector<std::string> Names() const override;
};

// "SysItems" and "TopicItemList": the items of the item's own topic.
class CDDESystemItem_ItemList : public CDDESystemItem {
public:
    using CDDESystemItem::CDDESystemItem;

protected:
    std::vector<std::string> Names() const override;
};

// "Formats": the names of the formats the server answers in.
class CDDESystemItem_FormatList : public CDDESystemItem {
public:
    using CDDESystemItem::CDDESystemItem;

protected:
    std::vector<std::string> Names() const override;
};

// The "System" topic: it logs every request, and refuses every command as any topic does.
class CDDEServerSystemTopic : public CDDETopic {
public:
    CDDEServerSystemTopic() : CDDETopic("System") {}
    bool Request(std::string_view item, uint32_t format, std::string &data) override;
};

} // namespace vespario::link
