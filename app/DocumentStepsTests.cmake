# Documents driven from the command line as a person would, on copies of the imported demo company
# (fixture kvz_batch_imported of CMakeLists.txt).
set(here WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set(docs KvzNet.KvzMod.KvzDocuments)
set(no_failure "kvz: |assertion failed|Sanitizer|runtime error")

# A search by the account code alone finds the account, whatever its type and ledger type.
add_test(NAME kvz_find_by_code COMMAND kvz --db batch.db --date 31/12/2026 open ${docs}.DAnagConti --find
  --set ContoKvz=2103001 --save --show ${here})
set_tests_properties(kvz_find_by_code PROPERTIES FIXTURES_REQUIRED kvz_batch_imported
  PASS_REGULAR_EXPRESSION "mode browse.*Esercizio: +2026 .*ContoKvz: +2103001 " FAIL_REGULAR_EXPRESSION "${no_failure}")

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
