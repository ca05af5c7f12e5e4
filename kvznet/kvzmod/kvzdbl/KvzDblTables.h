#pragma once
// Every record, reader, updater and hotlink class of the tables library.
#include "kvznet/kvzmod/kvzdbl/Kvz_TAnagContiKvz.h"
