# bench_windows measures the toolkit's window path (paint manager, SDL back end): it links
# libtessel alone.
set_property(TARGET ${name} PROPERTY LINK_LIBRARIES tessel benchmark::benchmark)
