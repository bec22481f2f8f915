#include "files/ItemStore.h"

#include "engine/collect/ItemNumber.h"
#include "engine/page/TextBytes.h"
#include "files/XmlDocument.h"

namespace pagelark {

bool NextChildIsRender(XmlDocument& doc) {
    return doc.FindChildElement() && doc.TagName(doc.Child()) == kRenderElement &&
           Trim(doc.GetChildText()) == kRenderYes;
}

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
    if (fields.render) store.AddChildElement(kRenderElement, kRenderYes);
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
    fields.render = NextChildIsRender(store);
    return fields;
}

bool WriteStoreItem(XmlDocument& store, int number, const ItemFields& fields) {
    // A mark of a removed item restores, but the child search on it fails.
    if (HasZero(fields) || !store.RestoreMark(ItemKey(number).c_str())) return false;
    for (const std::string* field : {&fields.name, &fields.filter, &fields.url}) {
        if (!store.FindChildElement() || !store.SetChildText(*field)) return false;
    }
    const bool marked = NextChildIsRender(store);
    if (fields.render && !marked) return store.AddChildElement(kRenderElement, kRenderYes);
    if (!fields.render && marked) {
        // The mark goes: step into it, remove it, and back out to the item.
        return store.EnterChild() && store.RemoveElement() && store.LeaveToParent();
    }
    return true;
}

bool RemoveStoreItem(XmlDocument& store, int number) {
    return store.RestoreMark(ItemKey(number).c_str()) && store.RemoveElement();
}

}  // namespace pagelark
