# The HID transport needs the device, protocol and emulator libraries only: link those
# instead of the whole program, so the benchmark builds while other folders are in progress.
set_property(TARGET ${name} PROPERTY LINK_LIBRARIES vantor_emulator vantor_device vantor_protocol benchmark::benchmark)
