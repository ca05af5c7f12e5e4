#include "platform/plvgenlib/AddOnInterfaceObj.h"

#include <mutex>

namespace {
std::mutex g_Mutex;
std::vector<std::unique_ptr<FunctionDataInterface>>& Declared()
{
	static auto* list = new std::vector<std::unique_ptr<FunctionDataInterface>>;
	return *list;
}
}  // namespace

void AddOnInterfaceObj::DeclareFunction(FunctionDataInterface* pFunction)
{
	if (!pFunction)
		return;
	std::lock_guard lock(g_Mutex);
	auto& list = Declared();
	// A repeated declaration replaces the earlier one under the same namespace.
	std::erase_if(list, [&](auto& p) { return p->GetNamespace() == pFunction->GetNamespace(); });
	list.emplace_back(pFunction);
}

const FunctionDataInterface* AfxFindDeclaredFunction(const CPLVNamespace& ns)
{
	std::lock_guard lock(g_Mutex);
	for (auto& p : Declared())
		if (p->GetNamespace() == ns)
			return p.get();
	return nullptr;
}

std::vector<const FunctionDataInterface*> AfxGetDeclaredFunctions()
{
	std::lock_guard lock(g_Mutex);
	std::vector<const FunctionDataInterface*> out;
	for (auto& p : Declared())
		out.push_back(p.get());
	return out;
}

void AfxClearDeclaredFunctions()
{
	std::lock_guard lock(g_Mutex);
	Declared().clear();
}

void AfxRemoveDeclaredFunction(const FunctionDataInterface* pFunction)
{
	std::lock_guard lock(g_Mutex);
	std::erase_if(Declared(), [&](auto& p) { return p.get() == pFunction; });
}
