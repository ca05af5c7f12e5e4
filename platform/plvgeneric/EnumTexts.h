#pragma once
// Item texts of enumerations. The library that defines an enumeration registers the texts of
// its items; data objects and controls show them. A value is tag * 65536 + item.
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/mfc/CString.h"

// Registers the texts of a tag's items, item 0 first; replaces texts registered before.
void AfxRegisterEnumTexts(WORD wTag, std::initializer_list<const char*> itemTexts);
void AfxRegisterEnumItemText(WORD wTag, WORD wItem, const CString& strText);
// The text of the value's item; empty when none is registered.
CString AfxGetEnumItemText(DWORD dwValue);
// The items of a tag that have a text, in item order.
std::vector<std::pair<WORD, CString>> AfxGetEnumItems(WORD wTag);
