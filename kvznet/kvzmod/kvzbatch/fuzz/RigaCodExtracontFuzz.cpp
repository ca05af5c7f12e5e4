// Any bytes as a file of extra-accounting codes: the line file and the line reader never crash,
// a line read keeps to its limit, and a line taken holds a code, a month of 1 to 12 and a slot
// of 0 to 10, its fields no wider than their columns and its code free of control characters.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kvznet/kvzmod/kvzbatch/RigaCodExtracont.h"
#include "platform/plvgeneric/LineFile.h"
#include "platform/plvgeneric/TypedInput.h"

namespace {

void Check(const CString& line)
{
	kvzbatch::RigaCodExtracont riga;
	if (!kvzbatch::LeggiRigaCodExtracont(line, riga).IsEmpty())
		return;
	if (riga.codice.IsEmpty() || riga.mese < 1 || riga.mese > 12 || riga.colonna < 0 || riga.colonna > 10 ||
		riga.esercizio < 1900 || riga.esercizio > 9999 || riga.codice.GetCharCount() > 26 ||
		riga.descrizione.GetCharCount() > 64 || riga.formula.GetCharCount() > 50 ||
		typed_input::HasControlChars(riga.codice.str(), false))
		std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::string bytes(reinterpret_cast<const char*>(data), size);
	Check(CString(bytes));

	static const std::string path = "/dev/shm/kvz-fuzz-codici-" + std::to_string(::getpid()) + ".txt";
	if (std::FILE* f = std::fopen(path.c_str(), "wb"))
	{
		std::fwrite(bytes.data(), 1, bytes.size(), f);
		std::fclose(f);
	}
	CLineFile file;
	if (!file.Open(path.c_str(), CLineFile::modeRead | CLineFile::typeText))
		return 0;
	CString line;
	while (file.ReadString(line, kvzbatch::kMaxCaratteriRiga))
	{
		if (line.GetCharCount() > int(kvzbatch::kMaxCaratteriRiga) || line.Find('\n') >= 0)
			std::abort();
		Check(line);
	}
	return 0;
}
