// Linked into every program of a sanitizer build: fontconfig, under the PDF writer, keeps its
// caches until the process ends, which the leak checker would report as leaks.
extern "C" const char* __lsan_default_suppressions()
{
	return "leak:libfontconfig.so\n";
}

extern "C" const char* __lsan_default_options()
{
	return "print_suppressions=0";
}
