#include "files/ItemStore.h"

#include "engine/collect/ItemNumber.h"
#include "files/XmlDocument.h"

namespace pagelark {

void AddStoreItem(XmlDocument& store, int number, const ItemFields& fields) {
    store.ResetCursor();
    store.AddElement("item");
    store.SetAttributeInt("id", number);
    store.AddChildElement("name", fields.name);
    store.AddChildElement("format", fields.filter);
    store.AddChildElement("url", fields.url);
    store.ClearChildCursor();
    store.SaveMark(ItemKey(number).c_str());
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

}  // namespace pagelark
