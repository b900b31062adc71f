set(PIPL_NAME "Velarra Tableau")
set(PIPL_MATCH_NAME "Velarra Tableau")
