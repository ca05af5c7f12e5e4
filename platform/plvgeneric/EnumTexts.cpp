#include "platform/plvgeneric/EnumTexts.h"

#include <map>
#include <mutex>

namespace {
struct Registry
{
	std::mutex mutex;
	std::map<DWORD, CString> texts;  // by value, so that a tag's items are in order
};

// Built on first use: libraries register from their static initialisers.
Registry& TheRegistry()
{
	static Registry* registry = new Registry;
	return *registry;
}
}  // namespace

void AfxRegisterEnumTexts(WORD wTag, std::initializer_list<const char*> itemTexts)
{
	WORD item = 0;
	for (const char* text : itemTexts)
		AfxRegisterEnumItemText(wTag, item++, text);
}

void AfxRegisterEnumItemText(WORD wTag, WORD wItem, const CString& strText)
{
	Registry& r = TheRegistry();
	std::lock_guard lock(r.mutex);
	r.texts[MAKELONG(wItem, wTag)] = strText;
}

CString AfxGetEnumItemText(DWORD dwValue)
{
	Registry& r = TheRegistry();
	std::lock_guard lock(r.mutex);
	auto it = r.texts.find(dwValue);
	return it == r.texts.end() ? CString() : it->second;
}

std::vector<std::pair<WORD, CString>> AfxGetEnumItems(WORD wTag)
{
	Registry& r = TheRegistry();
	std::lock_guard lock(r.mutex);
	std::vector<std::pair<WORD, CString>> items;
	for (auto it = r.texts.lower_bound(MAKELONG(0, wTag)); it != r.texts.end() && HIWORD(it->first) == wTag; ++it)
		items.emplace_back(LOWORD(it->first), it->second);
	return items;
}
