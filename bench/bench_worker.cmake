# The worker needs the app, device, protocol and emulator libraries only.
set_property(TARGET ${name} PROPERTY LINK_LIBRARIES vantor_app vantor_emulator vantor_device vantor_protocol benchmark::benchmark)
