// The PDF and XLSX writers live in a library of their own, loaded when the first such report is
// written: cairo, pango and libxlsxwriter bring some fifty shared objects with them, which a
// process that prints nothing should not load and relocate.
#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/plvrendoviewer/ReportWriters.h"

namespace {
using WriterFn = void (*)(const CReportOutput&, const std::filesystem::path&);

WriterFn Writer(const char* szName)
{
	static std::once_flag once;
	static void* handle = nullptr;
	static std::string error;
	std::call_once(once, [] {
		// Beside this library, where the build and an installation put it.
		std::filesystem::path folder;
		Dl_info info{};
		if (dladdr(reinterpret_cast<void*>(&WriteReportCsv), &info) && info.dli_fname)
			folder = std::filesystem::path(info.dli_fname).parent_path();
		handle = dlopen((folder / "libplv_reportwriters.so").c_str(), RTLD_NOW | RTLD_LOCAL);
		if (!handle)
			error = dlerror();
	});
	if (!handle)
		throw std::runtime_error("the report writers cannot be loaded: " + error);
	auto fn = reinterpret_cast<WriterFn>(dlsym(handle, szName));
	if (!fn)
		throw std::runtime_error(std::string("the report writers lack ") + szName);
	return fn;
}
}  // namespace

void WriteReportPdf(const CReportOutput& out, const std::filesystem::path& file)
{
	Writer("PlvWriteReportPdf")(out, file);
}

void WriteReportXlsx(const CReportOutput& out, const std::filesystem::path& file)
{
	Writer("PlvWriteReportXlsx")(out, file);
}
