#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/plvgenlib/CommandManager.h"
#include "platform/plvgenlib/LibraryEntry.h"

namespace {
// The library's own entry: the test program links other libraries with entries of the same name.
struct ComponentsLibrary
{
	ComponentsLibrary() : handle(dlopen("libKvzComponents.so", RTLD_NOW | RTLD_NOLOAD)) {}
	~ComponentsLibrary()
	{
		if (handle)
			dlclose(handle);
	}
	bool Owns(void* symbol) const
	{
		Dl_info mine{}, found{};
		return symbol && dladdr(entry, &mine) && dladdr(symbol, &found) && mine.dli_fbase == found.dli_fbase;
	}
	void* handle;
	void* entry = handle ? dlsym(handle, "PlvLibraryMain") : nullptr;
};
}  // namespace

TEST(KvzComponentsLibrary, EntryRegistersItsNamespaceAndOffersNoAddOn)
{
	ComponentsLibrary lib;
	ASSERT_NE(lib.handle, nullptr) << dlerror();
	ASSERT_TRUE(lib.Owns(lib.entry));
	auto entry = reinterpret_cast<BOOL (*)(HMODULE, DWORD)>(lib.entry);

	HMODULE hModule = AfxGetModuleOf(lib.entry);
	ASSERT_EQ(AfxGetPlvCmdManager(), nullptr);
	EXPECT_TRUE(entry(hModule, DLL_PROCESS_ATTACH));  // no command manager: loads all the same
	{
		CPlvCommandManager mgr;
		mgr.Install();
		EXPECT_TRUE(entry(hModule, DLL_PROCESS_ATTACH));
		auto libs = mgr.GetLibraryNamespaces();
		ASSERT_EQ(libs.size(), 1u);
		EXPECT_EQ(libs[0].first.ToString(), "Library.KvzNet.KvzMod.KvzComponents");
		EXPECT_EQ(libs[0].second, hModule);
	}
	EXPECT_TRUE(entry(hModule, DLL_THREAD_ATTACH));
	EXPECT_TRUE(entry(hModule, DLL_PROCESS_DETACH));

	EXPECT_FALSE(lib.Owns(dlsym(lib.handle, "_VandrelAddOn_")));
}
