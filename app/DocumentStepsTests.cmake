# Documents driven from the command line as a person would, on copies of the imported demo company
# (fixture kvz_batch_imported of CMakeLists.txt).
set(here WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set(docs KvzNet.KvzMod.KvzDocuments)
set(no_failure "kvz: |assertion failed|Sanitizer|runtime error")

# A search by the account code alone finds the account, whatever its type and ledger type.
add_test(NAME kvz_find_by_code COMMAND kvz --db batch.db --date 31/12/2026 open ${docs}.DAnagConti --find
  --set ContoKvz=2103001 --save --show ${here})
set_tests_properties(kvz_find_by_code PROPERTIES FIXTURES_REQUIRED kvz_batch_imported
  PASS_REGULAR_EXPRESSION "mode browse.*Esercizio: +2026 .*Conto Kvz: +2103001 " FAIL_REGULAR_EXPRESSION "${no_failure}")

# A row's formula built in the editor with the symbol list and the keypad: written back into the row
# with its budget formulas, saved, and run.
set(righe "Righe riclassificazioni")
add_test(NAME kvz_editor_copy COMMAND ${CMAKE_COMMAND} -E copy batch.db editor.db ${here})
set_tests_properties(kvz_editor_copy PROPERTIES FIXTURES_REQUIRED kvz_batch_imported FIXTURES_SETUP kvz_editor_db)
add_test(NAME kvz_editor_model COMMAND kvz --db editor.db --date 31/12/2026 open ${docs}.DModelliRiclassific
  --new --set ModelloRiclassific=EDT --set Descrizione=Editor --add-row ${righe} "--cell=${righe}:1:Codice=A"
  "--cell=${righe}:1:Formula=100" --save --edit --add-row ${righe} "--cell=${righe}:2:Codice=B"
  "--cell=${righe}:2:Descrizione=Doppio di A" "--dblclick=${righe}:2:Formula" --press Riclassificati
  "--dblclick=Simboli definiti:1" --press * --press 2 --press OK --save --show ${here})
set_tests_properties(kvz_editor_model PROPERTIES FIXTURES_REQUIRED kvz_editor_db FIXTURES_SETUP kvz_editor_model
  PASS_REGULAR_EXPRESSION "2 +Piano base +B +Doppio di A +Non ripartito +_RA +[*] 2 +_RA +[*] 2 +_RA +[*] 2 +_RA +[*] 2"
  FAIL_REGULAR_EXPRESSION "${no_failure}")
add_test(NAME kvz_editor_run COMMAND kvz --db editor.db --date 31/12/2026 open ${docs}.DRiclassificPianoBase
  --set RCL_PBASE_ESERCIZIO=2026 --set RCL_PBASE_DAL_MESE=1 --set RCL_PBASE_MESE=1 --set RCL_PBASE_MODELLO=EDT
  --set RCL_PBASE_MODELLO_A=EDT --run ${here})
set_tests_properties(kvz_editor_run PROPERTIES FIXTURES_REQUIRED "kvz_editor_db;kvz_editor_model"
  FIXTURES_SETUP kvz_editor_run PASS_REGULAR_EXPRESSION "--run: done" FAIL_REGULAR_EXPRESSION "${no_failure}")
add_test(NAME kvz_editor_results COMMAND kvz --db editor.db open ${docs}.BDDeRiclassificati --find
  --set Esercizio=2026 --set Modello=EDT --save --show ${here})
set_tests_properties(kvz_editor_results PROPERTIES FIXTURES_REQUIRED "kvz_editor_db;kvz_editor_model;kvz_editor_run"
  PASS_REGULAR_EXPRESSION "2 +1 +Piano base +B +Doppio di A +[^ ]+ [^ ]+ [^ ]+ +200[.]00 +200[.]00 +200[.]00 +200[.]00 "
  FAIL_REGULAR_EXPRESSION "${no_failure}")
set_tests_properties(kvz_editor_model kvz_editor_run kvz_editor_results PROPERTIES RESOURCE_LOCK kvz_editor)

# The counters view opened from the model document on its model's rows: code A counted once, by B.
add_test(NAME kvz_editor_counters COMMAND kvz --db editor.db --date 31/12/2026 open ${docs}.DModelliRiclassific --find
  --set ModelloRiclassific=EDT --save --command Contatori --show ${here})
set_tests_properties(kvz_editor_counters PROPERTIES FIXTURES_REQUIRED "kvz_editor_db;kvz_editor_model"
  RESOURCE_LOCK kvz_editor
  PASS_REGULAR_EXPRESSION "Opened [^\n]*BDViewContatori .*Codici riclassificato: +Si .*Grid Contatori generali [^\n]*\n[^\n]*\n([^\n]*\n)*[ >]+[0-9]+  A  +1\n"
  FAIL_REGULAR_EXPRESSION "${no_failure}")

# Monthly formulas of the extra-accounting codes imported from a file: ORE used by January of MQ
# and by a model row, each through a symbol defined in the formula editor; typed for March,
# saved, read again; the counters view opened from the register and from the monthly formulas
# counts both uses of ORE and shows their formulas.
set(codici "Codici extracontabili")
add_test(NAME kvz_extracont_mensili_copy COMMAND ${CMAKE_COMMAND} -E copy batch.db extracont.db ${here})
set_tests_properties(kvz_extracont_mensili_copy PROPERTIES FIXTURES_REQUIRED kvz_batch_imported
  FIXTURES_SETUP kvz_extracont_mensili_db)
# The file has three bad lines: the good ones are kept, and the run ends with exit 1.
add_test(NAME kvz_extracont_mensili_import COMMAND ${CMAKE_COMMAND} -DEXPECT_EXIT=1 -DEXPECT_ECHO=ON
  "-DEXPECT_OUTPUT=Righe lette: 7, importate: 4, scartate: 3."
  -P ${CMAKE_CURRENT_SOURCE_DIR}/ExpectExit.cmake $<TARGET_FILE:kvz> --db extracont.db --date 15/12/2026
  --choose-file ${PROJECT_SOURCE_DIR}/kvznet/kvzmod/kvzbatch/tests/data/codici-extracontabili.txt
  open KvzNet.KvzMod.KvzBatch.ImpCodExtracont --press "&Sfoglia" --run ${here})
set_tests_properties(kvz_extracont_mensili_import PROPERTIES FIXTURES_REQUIRED kvz_extracont_mensili_db
  FIXTURES_SETUP kvz_extracont_mensili_codes ENVIRONMENT "KVZ_SETTINGS_DIR=${CMAKE_CURRENT_BINARY_DIR}/extracont-settings"
  PASS_REGULAR_EXPRESSION "importate: 4" FAIL_REGULAR_EXPRESSION "assertion failed|Sanitizer|runtime error")
set(simbolo_ore --press Extracontabili --press "Definisci nuovo simbolo" --set EX_SYMB_NOME_SIMBOLO=ORE
  --set EX_SYMB_CODICE_DA=ORE --set EX_SYMB_CODICE_A=ORE --press OK)
add_test(NAME kvz_extracont_use_in_code COMMAND kvz --db extracont.db --date 15/12/2026 open ${docs}.DCodExtracont
  --find --set CodExtracont=MQ --save --edit --dblclick Mesi:1:Formula ${simbolo_ore} "--set=Formula :=_ORE*2"
  --press OK --save ${here})
add_test(NAME kvz_extracont_use_in_model COMMAND kvz --db extracont.db --date 15/12/2026 open ${docs}.DModelliRiclassific
  --new --set ModelloRiclassific=PRO --set Descrizione=Produttivita --add-row ${righe} "--cell=${righe}:1:Codice=OP"
  "--cell=${righe}:1:Descrizione=Ore di produzione" "--dblclick=${righe}:1:Formula" ${simbolo_ore}
  "--set=Formula :=_ORE" --press OK --save ${here})
set_tests_properties(kvz_extracont_use_in_code kvz_extracont_use_in_model PROPERTIES
  FIXTURES_REQUIRED "kvz_extracont_mensili_db;kvz_extracont_mensili_codes" FIXTURES_SETUP kvz_extracont_uses
  PASS_REGULAR_EXPRESSION "Back to [^\n]*\n--save: done" FAIL_REGULAR_EXPRESSION "${no_failure}")
set_tests_properties(kvz_extracont_use_in_model PROPERTIES DEPENDS kvz_extracont_use_in_code)
set(mensili kvz --db extracont.db --date 15/12/2026 open ${docs}.BDInsExtracontMensili --set Mese=3)
add_test(NAME kvz_extracont_mensili_save COMMAND ${mensili} "--cell=${codici}:1:Formula=12" "--cell=${codici}:3:Formula=7+5"
  --press &Salva ${here})
set_tests_properties(kvz_extracont_mensili_save PROPERTIES FIXTURES_SETUP kvz_extracont_mensili_saved
  PASS_REGULAR_EXPRESSION "--press &Salva: done")
add_test(NAME kvz_extracont_mensili_reload COMMAND ${mensili} --show ${here})
set_tests_properties(kvz_extracont_mensili_reload PROPERTIES FIXTURES_REQUIRED kvz_extracont_mensili_saved
  PASS_REGULAR_EXPRESSION "Mese: +3 .*1 +ADDETTI +Addetti in forza +12\n +2 +MQ +Metri quadri dei magazzini *\n +3 +ORE +Ore lavorate +7[+]5\n")
add_test(NAME kvz_extracont_mensili_counters COMMAND ${mensili} --press Contatori --row "Contatori generali=3" --show ${here})
add_test(NAME kvz_extracont_register_counters COMMAND kvz --db extracont.db --date 15/12/2026 open ${docs}.DCodExtracont
  --find --set CodExtracont=ORE --save --command Contatori --row "Contatori generali=3" --show ${here})
foreach(t kvz_extracont_mensili_counters kvz_extracont_register_counters)
  set_tests_properties(${t} PROPERTIES PASS_REGULAR_EXPRESSION
    "Opened [^\n]*BDViewContatori .*Codici extracontabili: +Si .*Grid Contatori generali [(]3 rows.*ADDETTI[^\n]* 0\n[^\n]*MQ[^\n]* 0\n[ >]+3 +ORE +Ore lavorate +2\n.*Grid Contatori dettaglio [(]2 rows[^\n]*\n[^\n]*\n +1 +MQ +MESE1 +1 +0 +_ORE[*]2\n +2 +PRO +OP +1 +0 +_ORE\n")
endforeach()
# From the model: its own code, then every extra-accounting code of the year with its uses.
add_test(NAME kvz_extracont_model_counters COMMAND kvz --db extracont.db --date 15/12/2026 open ${docs}.DModelliRiclassific
  --find --set ModelloRiclassific=PRO --save --command Contatori --show --rows all ${here})
set_tests_properties(kvz_extracont_model_counters PROPERTIES
  PASS_REGULAR_EXPRESSION "Opened [^\n]*BDViewContatori .*Del modello: +PRO .*\n +[0-9]+ +OP +Ore di produzione +0\n +[0-9]+ +ADDETTI +Addetti in forza +0\n +[0-9]+ +MQ [^\n]* 0\n +[0-9]+ +ORE +Ore lavorate +2\n")
set(extracont_tests kvz_extracont_use_in_code kvz_extracont_use_in_model kvz_extracont_mensili_save
  kvz_extracont_mensili_reload kvz_extracont_mensili_counters kvz_extracont_register_counters
  kvz_extracont_model_counters)
set_tests_properties(${extracont_tests} PROPERTIES RESOURCE_LOCK kvz_extracont_mensili)
set_tests_properties(kvz_extracont_mensili_save kvz_extracont_mensili_reload kvz_extracont_mensili_counters
  kvz_extracont_register_counters kvz_extracont_model_counters PROPERTIES FAIL_REGULAR_EXPRESSION "${no_failure}")
set_tests_properties(kvz_extracont_mensili_save kvz_extracont_mensili_counters kvz_extracont_register_counters
  kvz_extracont_model_counters PROPERTIES
  FIXTURES_REQUIRED "kvz_extracont_mensili_db;kvz_extracont_mensili_codes;kvz_extracont_uses")
set_tests_properties(kvz_extracont_mensili_reload kvz_extracont_mensili_counters kvz_extracont_register_counters
  PROPERTIES DEPENDS kvz_extracont_mensili_save)

# The adjustment selection's command opens the counters of the year's reclassified codes: A is used
# once, by row B of model EDT.
add_test(NAME kvz_adjustment_selection_counters COMMAND kvz --db editor.db --date 31/12/2026
  open ${docs}.BDSelezAssestamento --command Contatori --show ${here})
set_tests_properties(kvz_adjustment_selection_counters PROPERTIES FIXTURES_REQUIRED "kvz_editor_db;kvz_editor_model"
  RESOURCE_LOCK kvz_editor FAIL_REGULAR_EXPRESSION "${no_failure}"
  PASS_REGULAR_EXPRESSION "Opened [^\n]*BDViewContatori [^\n]* on Kvz_CSelezAssestamentoDoc.*Codici extracontabili: +No .*Codici riclassificato: +Si .*Totale utilizzi nell'esercizio: +2026 .*Grid Contatori generali [(]2 rows[^\n]*\n[^\n]*\n[ >]+1 +A +modello EDT +1\n +2 +B +Doppio di A [(]modello EDT[)] +0\n.*Grid Contatori dettaglio [(]1 rows[^\n]*\n[^\n]*\n +1 +EDT +B +1 +0 +_RA +[*] 2\n")

# The fixed texts of the batch forms: headings and captions shown as the form shows them.
foreach(pair IN ITEMS
    "KvzNet.KvzMod.KvzBatch.InitRaggrupPdc=\n  INIZIALIZZAZIONE DATI DI RAGGRUPPAMENTO PIANO DEI CONTI\n  ATTENZIONE: Vengono abilitati ai collegamenti i sottoconti\n"
    "KvzNet.KvzMod.KvzBatch.ImpCodExtracont=\n  IMPORTAZIONE CODICI EXTRACONTABILI\n  Nome del file da importare:"
    "${docs}.BDStampaReportRiclassific=\n  STAMPA REPORT RICLASSIFICAZIONE DEL PIANO BASE\n  Parametri\n")
  string(FIND "${pair}" "=" eq)
  string(SUBSTRING "${pair}" 0 ${eq} ns)
  math(EXPR eq "${eq} + 1")
  string(SUBSTRING "${pair}" ${eq} -1 text)
  string(REGEX REPLACE ".*[.]" "" name "${ns}")
  add_test(NAME kvz_static_texts_${name} COMMAND kvz --db x.db open ${ns} --show ${here})
  set_tests_properties(kvz_static_texts_${name} PROPERTIES FIXTURES_REQUIRED kvz_db
    PASS_REGULAR_EXPRESSION "${text}" FAIL_REGULAR_EXPRESSION "${no_failure}")
endforeach()

# A budget code that does not exist, typed into a grouped account: answered yes, the budget codes
# register opens on a new code, its save gives the code to the account, saved with it; nobody to
# answer, the code is refused and nothing opens.
add_test(NAME kvz_add_on_fly_copy COMMAND ${CMAKE_COMMAND} -E copy batch.db addonfly.db ${here})
set_tests_properties(kvz_add_on_fly_copy PROPERTIES FIXTURES_REQUIRED kvz_batch_imported FIXTURES_SETUP kvz_add_on_fly_db)
add_test(NAME kvz_add_on_fly COMMAND kvz --db addonfly.db --date 31/12/2026 "--answer=Inserirlo?=yes"
  open ${docs}.DAnagConti --new --set ContoKvz=ZZ1 --set CodiceBudget=NUOVO "--set=Descrizione=Budget nuovo" --save
  "--set=Descrizione=Conto di prova" --save --show ${here})
set_tests_properties(kvz_add_on_fly PROPERTIES FIXTURES_REQUIRED kvz_add_on_fly_db RESOURCE_LOCK kvz_add_on_fly
  PASS_REGULAR_EXPRESSION "Opened [^\n]*DCodBudget [^\n]* on Kvz_CDeAnagContiDoc.*Back to Kvz_CDeAnagContiDoc.*mode browse.*Conto Kvz: +ZZ1 .*Codice budget: +NUOVO [(]Budget nuovo[)]"
  FAIL_REGULAR_EXPRESSION "${no_failure}")
add_test(NAME kvz_add_on_fly_unanswered COMMAND ${CMAKE_COMMAND} -DEXPECT_EXIT=1
  "-DEXPECT_OUTPUT=kvz: --set CodiceBudget=ALTRO: Il codice 'ALTRO' non esiste."
  -P ${CMAKE_CURRENT_SOURCE_DIR}/ExpectExit.cmake $<TARGET_FILE:kvz> --db addonfly.db --date 31/12/2026
  open ${docs}.DAnagConti --new --set ContoKvz=ZZ2 --set CodiceBudget=ALTRO ${here})
set_tests_properties(kvz_add_on_fly_unanswered PROPERTIES FIXTURES_REQUIRED kvz_add_on_fly_db RESOURCE_LOCK kvz_add_on_fly)
