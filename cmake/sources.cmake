# Every source of Tavix, listed once. Portable code is compiled natively (unit
# tests, tavix-cli) and by the cross compiler (Tavix.exe); Windows code only by
# the cross compiler.

set(TAVIX_CORE_SOURCES
    core/board.cpp
    core/bitboard.cpp
    core/notation.cpp
    core/position_text.cpp
    core/perft.cpp
)

set(TAVIX_ENGINE_SOURCES
    engine/endgame.cpp
    engine/evaluation.cpp
    engine/hints.cpp
    engine/jobs.cpp
    engine/midgame.cpp
    engine/order_eval.cpp
    engine/plain_search.cpp
    engine/random.cpp
    engine/search_control.cpp
    engine/study_search.cpp
)

set(TAVIX_RECORD_SOURCES
    record/game_record.cpp
    record/profile_text.cpp
    record/record_file.cpp
    record/game_text.cpp
    record/recent_files.cpp
    record/ggf.cpp
)

set(TAVIX_DATABASE_SOURCES
    database/wthor.cpp
    database/game_database.cpp
)

set(TAVIX_BOOK_SOURCES
    book/book_file.cpp
    book/book_moves_text.cpp
    book/book_tree.cpp
)

set(TAVIX_VIEW_SOURCES
    view/layout.cpp
    view/hint_layout.cpp
    view/message_lines.cpp
    view/panel_fields.cpp
    view/display_colours.cpp
    view/disc_shapes.cpp
    view/flip_sequence.cpp
)

set(TAVIX_SESSION_SOURCES
    session/game_session.cpp
)

set(TAVIX_APP_SOURCES
    app/command_states.cpp
    app/players.cpp
    app/result_text.cpp
    app/turn_rules.cpp
    app/hint_rules.cpp
    app/board_setup_steps.cpp
)

set(TAVIX_CONFIG_SOURCES
    config/settings.cpp
    config/settings_pages.cpp
    config/review_settings.cpp
)

set(TAVIX_RESEARCH_SOURCES
    research/analysis_form.cpp
    research/game_review.cpp
    research/opening_names.cpp
)

set(TAVIX_HELP_SOURCES
    app/help_pages.cpp
)

set(TAVIX_PORTABLE_SOURCES
    ${TAVIX_CORE_SOURCES}
    ${TAVIX_ENGINE_SOURCES}
    ${TAVIX_RECORD_SOURCES}
    ${TAVIX_DATABASE_SOURCES}
    ${TAVIX_BOOK_SOURCES}
    ${TAVIX_SESSION_SOURCES}
    ${TAVIX_VIEW_SOURCES}
    ${TAVIX_APP_SOURCES}
    ${TAVIX_CONFIG_SOURCES}
    ${TAVIX_RESEARCH_SOURCES}
    ${TAVIX_HELP_SOURCES}
)

set(TAVIX_CORE_WINDOWS_SOURCES
    core/wide_text.cpp
)

set(TAVIX_APP_WINDOWS_SOURCES
    app/main.cpp
    app/main_window.cpp
    app/commands.cpp
    app/toolbar.cpp
    app/help_key.cpp
    app/about_box.cpp
    app/activity_pause.cpp
    app/help.cpp
    app/players_store.cpp
    app/turn_loop.cpp
    app/hints.cpp
    app/hint_settings_dialog.cpp
    app/history_commands.cpp
    app/recent_files_store.cpp
    app/record_commands.cpp
    app/clipboard_commands.cpp
    app/book_loader.cpp
    app/players_dialog.cpp
    app/board_setup.cpp
    app/settings_command.cpp
    app/research_shell.cpp
)

set(TAVIX_VIEW_WINDOWS_SOURCES
    view/layout_window.cpp
    view/drawing_resources.cpp
    view/board_painting.cpp
    view/status_panel.cpp
    view/display_settings.cpp
    view/flip_animation.cpp
    view/hint_marks.cpp
    view/disc_sound.cpp
)

set(TAVIX_ENGINE_WINDOWS_SOURCES
    engine/search_thread.cpp
)

set(TAVIX_CONFIG_WINDOWS_SOURCES
    config/registry.cpp
    config/settings_store.cpp
    config/settings_dialog.cpp
)

set(TAVIX_RESEARCH_WINDOWS_SOURCES
    research/research_messages.cpp
    research/analysis_command.cpp
    research/analysis_params_dialog.cpp
    research/review_command.cpp
    research/review_params_dialog.cpp
    research/review_window.cpp
    research/analysis_results_dialog.cpp
    # The book-move search.
    research/book_search.cpp
    research/database_window.cpp
)

set(TAVIX_WINDOWS_SOURCES
    ${TAVIX_CORE_WINDOWS_SOURCES}
    ${TAVIX_APP_WINDOWS_SOURCES}
    ${TAVIX_ENGINE_WINDOWS_SOURCES}
    ${TAVIX_VIEW_WINDOWS_SOURCES}
    ${TAVIX_CONFIG_WINDOWS_SOURCES}
    ${TAVIX_RESEARCH_WINDOWS_SOURCES}
)

set(TAVIX_CLI_SOURCES
    cli/main.cpp
    cli/perft.cpp
    cli/bench.cpp
    cli/book.cpp
    cli/engine_args.cpp
    cli/eval.cpp
    cli/hints.cpp
    cli/move.cpp
    cli/search.cpp
    cli/solve.cpp
    cli/record.cpp
    cli/database.cpp
    cli/review.cpp
)
