# The store needs only its own library: link that instead of the whole program, so the
# benchmark builds while other folders are under construction.
set_property(TARGET ${name} PROPERTY LINK_LIBRARIES vantor_store benchmark::benchmark)
