# bench_render measures only the toolkit's drawing: it links libtessel alone, so
# it builds whatever state the program's folders are in.
set_property(TARGET ${name} PROPERTY LINK_LIBRARIES tessel benchmark::benchmark)
