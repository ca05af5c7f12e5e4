#pragma once
// Every record, reader, updater and hotlink class of the cost-driver tables library.
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversCosti.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversIncrementi.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversMagazzini.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversModelli.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversTempCosti.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversTempModelli.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzDriversTesta.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzMetriQuadriMesi.h"
#include "kvznet/kvzdrivers/kvzdriversdbl/TKvzMetriQuadriTesta.h"
