#include "kvznet/kvzmod/kvzdbl/KvzDblEnums.h"

#include "platform/plvgeneric/EnumTexts.h"

void RegisterKvzEnumTexts()
{
	AfxRegisterEnumTexts(E_KVZ_SPECIEARCHIVIO, {"Testata piano base", "Riservato", "Testata budget", "Testata budget finanziario"});
	AfxRegisterEnumTexts(E_KVZ_TIPOBUDGET, {"Budget A", "Budget B", "Budget C", "Descrizione formule"});
	AfxRegisterEnumTexts(E_KVZ_TIPODETTAGLIO, {"Nessun dettaglio", "Centri di costo", "Commesse"});
	AfxRegisterEnumTexts(E_KVZ_TIPODOCUMENTO, {"Piano base"});
	AfxRegisterEnumTexts(E_KVZ_TIPORIPARTIZIMPORTI, {"Importo annuo in parti uguali", "Importi mensili", "Per trimestre"});
	AfxRegisterEnumTexts(E_KVZ_TIPORIPARTIZASSEST, {"Sul totale dell'anno", "Per trimestre"});
	AfxRegisterEnumTexts(E_KVZ_TIPOCENTROCOMM, {"Centro di costo", "Commessa"});
	AfxRegisterEnumTexts(E_KVZ_AGGREGFUNCTION, {"Somma", "Media", "Conteggio", "Massimo", "Minimo", "Nessuna"});
	const auto operators = {"=", "<=", ">=", "<", ">", "<>", "Compreso tra"};
	AfxRegisterEnumTexts(E_KVZ_TIPOOPERATORE, operators);
	AfxRegisterEnumTexts(E_KVZ_TIPOOPECONTO, operators);
	AfxRegisterEnumItemText(E_KVZ_TIPOOPECONTO, 7, "Simile a (LIKE)");
	AfxRegisterEnumItemText(E_KVZ_TIPOOPECONTO, 8, "Elenco conti");
	AfxRegisterEnumTexts(E_KVZ_MODODOCSIMBOLO, {"Nuovo simbolo", "Modifica simbolo"});
	AfxRegisterEnumTexts(E_KVZ_TIPOSIMBOLO, {"Conti piano base", "Codice extracontabile", "Riservato", "Codice riclassificato",
											 "Centro di costo da elenco", "Commessa da elenco", "Risultato riclassificazione"});
	AfxRegisterEnumTexts(E_KVZ_TIPORIGA, {"Piano base", "Extracontabile", "Saldo di inizio periodo", "Saldo di fine periodo", "Titolo", "Totale",
										  "Drivers", "Drivers ripartiti", "Procedura esterna", "Nota"});
	AfxRegisterEnumTexts(E_KVZ_TIPODATORITORNO, {"Saldo", "Rateo", "Totale assestato", "Budget"});
	AfxRegisterEnumTexts(E_KVZ_TIPODATOPBASE, {"Scelta del simbolo", "Saldo senza extracontabili", "Rateo", "Valore assestato"});
	AfxRegisterEnumTexts(E_KVZ_SEGNOCONTO, {"Somma", "Sottrae"});
	AfxRegisterEnumTexts(E_KVZ_TIPOMODELLO, {"Standard", "Per commessa", "Per centro di costo", "Drivers"});
	AfxRegisterEnumTexts(E_KVZ_TIPOCALCOLO,
						 {"Non ripartito", "Ripartito sulle commesse", "Ripartito sui giorni", "Formula parametrica"});
	AfxRegisterEnumTexts(E_KVZ_TIPOELABORAZIONE, {"Standard", "Per codice di raggruppamento"});
}

namespace {
// The texts are there as soon as the library is.
[[maybe_unused]] const bool g_bTextsRegistered = (RegisterKvzEnumTexts(), true);
}  // namespace
