#include "files/ItemStore.h"

#include "engine/collect/ItemNumber.h"
#include "engine/page/TextBytes.h"
#include "files/XmlDocument.h"

namespace pagelark {
namespace {

bool HasZero(const ItemFields& fields) {
    for (const std::string* field : {&fields.name, &fields.filter, &fields.url}) {
        if (field->find('\0') != std::string::npos) return true;
    }
    return false;
}

}  // namespace

int CheckItemFields(const ItemFields& fields) {
    int message = 131;
    for (const std::string* field : {&fields.name, &fields.filter, &fields.url}) {
        if (Trim(*field).empty() || field->find('\0') != std::string::npos) return message;
        ++message;
    }
    return 0;
}

bool AddStoreItem(XmlDocument& store, int number, const ItemFields& fields) {
    if (HasZero(fields)) return false;
    store.ResetCursor();
    store.AddElement("item");
    store.SetAttributeInt("id", number);
    store.AddChildElement("name", fields.name);
    store.AddChildElement("format", fields.filter);
    store.AddChildElement("url", fields.url);
    store.ClearChildCursor();
    store.SaveMark(ItemKey(number).c_str());
    return true;
}

ItemFields ReadStoreItem(XmlDocument& store, int number) {
    store.RestoreMark(ItemKey(number).c_str());
    ItemFields fields;
    store.FindChildElement();
    fields.name = store.GetChildText();
    store.FindChildElement();
    fields.filter = store.GetChildText();
    store.FindChildElement();
    fields.url = store.GetChildText();
    return fields;
}

bool WriteStoreItem(XmlDocument& store, int number, const ItemFields& fields) {
    // A mark of a removed item restores, but the child search on it fails.
    if (HasZero(fields) || !store.RestoreMark(ItemKey(number).c_str())) return false;
    for (const std::string* field : {&fields.name, &fields.filter, &fields.url}) {
        if (!store.FindChildElement() || !store.SetChildText(*field)) return false;
    }
    return true;
}

bool RemoveStoreItem(XmlDocument& store, int number) {
    return store.RestoreMark(ItemKey(number).c_str()) && store.RemoveElement();
}

}  // namespace pagelark
