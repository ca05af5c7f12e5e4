#pragma once
// The longest values the module's columns take. Codes are as long as a grouped account's code
// (and the code field of the extra-accounting codes file); a symbol's name is a code with the
// letter its kind puts before it; descriptions are as long as the forms show them.
inline constexpr int kKvzLenCodice = 26;
inline constexpr int kKvzLenNomeSimbolo = 32;
inline constexpr int kKvzLenDescrizione = 64;
