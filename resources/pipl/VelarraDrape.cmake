set(PIPL_NAME "Velarra Drape")
set(PIPL_MATCH_NAME "Velarra Drape")
