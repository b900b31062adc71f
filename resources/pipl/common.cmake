# What the three plug-ins' property lists share. The version and the global
# out-flags are the values GlobalSetup reports at run time (host/global_setup.cpp).
set(PIPL_KIND "eFKT")                # an effect
set(PIPL_CATEGORY "Morrowick")
set(PIPL_ENTRY_POINT "EntryPointFunc")  # code entry for 64-bit Windows ('8664')
set(PIPL_VERSION_MAJOR 2)            # property-list version 2.0
set(PIPL_VERSION_MINOR 0)
set(PIPL_SPEC_MAJOR 13)              # effect interface version 13.2
set(PIPL_SPEC_MINOR 2)
set(PIPL_EFFECT_VERSION 0x100001)    # 2.0.0, development stage, build 1
set(PIPL_INFO_FLAGS 0)
set(PIPL_GLOBAL_OUTFLAGS 0x6008454)
set(PIPL_RESERVED_INFO 0)
