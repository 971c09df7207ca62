# Shared libraries that only some runs use, each loaded on the first call of one of its functions
# (libraries_on_demand.c loads them): Wayland's client and cursor libraries, which only a run that talks
# to a compositor needs, and libjpeg, which only a JPEG grab needs. A library loaded at the start costs
# its loading and page faults on every run, --version and a grab on X11 included. Each function below
# stands for the library's own of that name: it jumps through its slot, and through the loader while
# the slot is empty. Arguments pass untouched, variadic ones included. x86-64 only.
# A function of these libraries that quorvex7 comes to use needs its line here (and the count in
# libraries_on_demand.c one more): without it the linker takes the whole library again, which
# command_line_e2e.sh's check of what an X11 grab loads reports.

    # libwayland-client.so.0
    .macro client_functions apply
    \apply wl_display_cancel_read, 0
    \apply wl_display_connect, 1
    \apply wl_display_disconnect, 2
    \apply wl_display_dispatch, 3
    \apply wl_display_dispatch_pending, 4
    \apply wl_display_flush, 5
    \apply wl_display_get_error, 6
    \apply wl_display_get_fd, 7
    \apply wl_display_prepare_read, 8
    \apply wl_display_read_events, 9
    \apply wl_display_roundtrip, 10
    \apply wl_log_set_handler_client, 11
    \apply wl_proxy_add_listener, 12
    \apply wl_proxy_destroy, 13
    \apply wl_proxy_get_user_data, 14
    \apply wl_proxy_get_version, 15
    \apply wl_proxy_marshal_flags, 16
    \apply wl_proxy_set_user_data, 17
    .endm

    # libwayland-cursor.so.0
    .macro cursor_functions apply
    \apply wl_cursor_image_get_buffer, 18
    \apply wl_cursor_theme_destroy, 19
    \apply wl_cursor_theme_get_cursor, 20
    \apply wl_cursor_theme_load, 21
    .endm

    # libjpeg.so.62
    .macro jpeg_functions apply
    \apply jpeg_CreateCompress, 22
    \apply jpeg_destroy_compress, 23
    \apply jpeg_finish_compress, 24
    \apply jpeg_set_defaults, 25
    \apply jpeg_set_quality, 26
    \apply jpeg_start_compress, 27
    \apply jpeg_std_error, 28
    \apply jpeg_write_scanlines, 29
    .endm

    .macro on_demand name, index
    .globl \name
    .hidden \name
    .type \name, @function
\name:
    movq quorvex_on_demand_slots+8*\index(%rip), %r11
    testq %r11, %r11
    jz 1f
    jmpq *%r11
1:  movl $\index, %r11d
    jmp quorvex_on_demand_first_call
    .size \name, .-\name
    .endm

    .macro name_of name, index
    .asciz "\name"
    .endm

    .text
    client_functions on_demand
    cursor_functions on_demand
    jpeg_functions on_demand

# Saves every register that may carry an argument (al counts the vector ones of a variadic call),
# has the loader fill the slots of the function's library, and goes on to the function asked for
# (its index in r11).
    .type quorvex_on_demand_first_call, @function
quorvex_on_demand_first_call:
    pushq %rbp
    movq %rsp, %rbp
    pushq %r11
    pushq %rdi
    pushq %rsi
    pushq %rdx
    pushq %rcx
    pushq %r8
    pushq %r9
    pushq %rax
    subq $128, %rsp
    movdqu %xmm0, 0(%rsp)
    movdqu %xmm1, 16(%rsp)
    movdqu %xmm2, 32(%rsp)
    movdqu %xmm3, 48(%rsp)
    movdqu %xmm4, 64(%rsp)
    movdqu %xmm5, 80(%rsp)
    movdqu %xmm6, 96(%rsp)
    movdqu %xmm7, 112(%rsp)
    movq %r11, %rdi
    call quorvex_load_library_of
    movdqu 0(%rsp), %xmm0
    movdqu 16(%rsp), %xmm1
    movdqu 32(%rsp), %xmm2
    movdqu 48(%rsp), %xmm3
    movdqu 64(%rsp), %xmm4
    movdqu 80(%rsp), %xmm5
    movdqu 96(%rsp), %xmm6
    movdqu 112(%rsp), %xmm7
    addq $128, %rsp
    popq %rax
    popq %r9
    popq %r8
    popq %rcx
    popq %rdx
    popq %rsi
    popq %rdi
    popq %r11
    leaq quorvex_on_demand_slots(%rip), %r10
    movq (%r10,%r11,8), %r11
    leave
    jmpq *%r11
    .size quorvex_on_demand_first_call, .-quorvex_on_demand_first_call

# The names, in slot order, each ended by a zero byte; an empty name ends each library's.
    .section .rodata
    .globl quorvex_on_demand_names
    .hidden quorvex_on_demand_names
quorvex_on_demand_names:
    client_functions name_of
    .byte 0
    cursor_functions name_of
    .byte 0
    jpeg_functions name_of
    .byte 0

    .section .note.GNU-stack, "", @progbits
