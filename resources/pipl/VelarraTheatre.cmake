set(PIPL_NAME "Velarra Theatre")
set(PIPL_MATCH_NAME "Velarra Theatre")
