#!/usr/bin/env python3
"""Writes the three application style sheets (Zolvar_darkgray.qss,
Zolvar_lightgray.qss, Zolvar_white.qss) from one set of rules and three
palettes. The sheets are what the program ships; run this after editing:

    python3 resources/tools/make_stylesheets.py

"%menu_font_family%" and "%menu_font_size%" stay in the sheets: the program
fills them when it loads a sheet.
"""

import os

# --------------------------------------------------------------------------
# Palettes
# --------------------------------------------------------------------------

THEMES = {
    'darkgray': dict(
        text='rgb(161, 161, 161)', disabled='rgb(77, 77, 77)',
        window='rgb(38, 38, 38)', dock='rgb(38, 38, 38)', separator='rgb(18, 18, 18)',
        spin='rgb(108, 108, 108)', edit='rgb(82, 82, 82)', field_text='rgb(230, 230, 230)',
        tooltip='rgb(63, 63, 63)', tooltip_text='rgb(210, 210, 210)',
        border='rgb(24, 24, 24)', pane='rgb(46, 46, 46)', table='rgb(32, 32, 32)',
        table_alt='rgb(36, 36, 36)', grid='rgb(50, 50, 50)',
        selection='rgb(64, 92, 130)', selection_text='rgb(235, 235, 235)',
        header='rgb(48, 48, 48)', button='rgb(58, 58, 58)', button_hover='rgb(70, 70, 70)',
        button_pressed='rgb(30, 30, 30)', checked='rgb(22, 22, 22)', checked_border='rgb(90, 90, 90)',
        groove='rgb(26, 26, 26)', handle='rgb(78, 78, 78)', handle_hover='rgb(100, 100, 100)',
        tab='rgb(44, 44, 44)', tab_selected='rgb(58, 58, 58)', tab_text='rgb(140, 140, 140)',
        title_top='rgb(66, 66, 66)', title_bottom='rgb(48, 48, 48)', title_text='rgb(200, 200, 200)',
        progress='rgb(96, 140, 200)', list='rgb(32, 32, 32)'),
    'lightgray': dict(
        text='rgb(221, 221, 221)', disabled='rgb(146, 146, 146)',
        window='rgb(89, 89, 89)', dock='rgb(51, 51, 51)', separator='rgb(51, 51, 51)',
        spin='rgb(166, 166, 166)', edit='rgb(166, 166, 166)', field_text='rgb(20, 20, 20)',
        tooltip='rgb(100, 100, 100)', tooltip_text='rgb(240, 240, 240)',
        border='rgb(40, 40, 40)', pane='rgb(60, 60, 60)', table='rgb(70, 70, 70)',
        table_alt='rgb(76, 76, 76)', grid='rgb(90, 90, 90)',
        selection='rgb(92, 124, 168)', selection_text='rgb(250, 250, 250)',
        header='rgb(80, 80, 80)', button='rgb(104, 104, 104)', button_hover='rgb(120, 120, 120)',
        button_pressed='rgb(70, 70, 70)', checked='rgb(40, 40, 40)', checked_border='rgb(130, 130, 130)',
        groove='rgb(45, 45, 45)', handle='rgb(120, 120, 120)', handle_hover='rgb(145, 145, 145)',
        tab='rgb(66, 66, 66)', tab_selected='rgb(89, 89, 89)', tab_text='rgb(200, 200, 200)',
        title_top='rgb(112, 112, 112)', title_bottom='rgb(84, 84, 84)', title_text='rgb(240, 240, 240)',
        progress='rgb(120, 164, 220)', list='rgb(70, 70, 70)'),
    'white': dict(
        text='rgb(51, 51, 51)', disabled='rgb(193, 193, 193)',
        window='rgb(242, 242, 242)', dock='rgb(242, 242, 242)', separator='rgb(102, 102, 102)',
        spin='rgb(255, 255, 255)', edit='rgb(255, 255, 255)', field_text='rgb(20, 20, 20)',
        tooltip='qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 white, stop: 1 rgb(228, 229, 240))',
        tooltip_text='rgb(40, 40, 40)',
        border='rgb(190, 190, 190)', pane='rgb(248, 248, 248)', table='rgb(255, 255, 255)',
        table_alt='rgb(247, 247, 247)', grid='rgb(225, 225, 225)',
        selection='rgb(181, 213, 255)', selection_text='rgb(20, 20, 20)',
        header='rgb(234, 234, 234)', button='rgb(250, 250, 250)', button_hover='rgb(232, 240, 252)',
        button_pressed='rgb(214, 214, 214)', checked='rgb(214, 226, 244)', checked_border='rgb(150, 170, 200)',
        groove='rgb(214, 214, 214)', handle='rgb(196, 196, 196)', handle_hover='rgb(170, 170, 170)',
        tab='rgb(228, 228, 228)', tab_selected='rgb(248, 248, 248)', tab_text='rgb(90, 90, 90)',
        title_top='rgb(236, 236, 236)', title_bottom='rgb(214, 214, 214)', title_text='rgb(40, 40, 40)',
        progress='rgb(84, 140, 220)', list='rgb(255, 255, 255)'),
}

MENU_BG = {'darkgray': 'rgb(240, 240, 240)', 'lightgray': 'rgb(240, 240, 240)',
           'white': 'rgb(242, 242, 242)'}

# --------------------------------------------------------------------------
# Images
# --------------------------------------------------------------------------

# Buttons whose face is an image, by object name.
IMAGE_BUTTONS = [
    ('selectionToolBtn', 'tool_selection'),
    ('handToolBtn', 'tool_hand'),
    ('anchorToolBtn', 'tool_anchor'),
    ('gravityToolBtn', 'tool_gravity'),
    ('velocityToolBtn', 'tool_velocity'),
    ('addQuickPresetBtn', 'preset_add'),
    ('removeQuickPresetBtn', 'preset_remove'),
    ('zoomOutBtn', 'zoom_out'),
    ('zoomInBtn', 'zoom_in'),
    ('zoomFitBtn', 'zoom_fit'),
    ('restartBtn', 'cmd_first_frame'),
    ('playBtn', 'cmd_play'),
    ('stepBtn', 'cmd_next_frame'),
    ('repeatBtn', 'cmd_repeat'),
    ('addDistanceJointBtn', 'joint_distance_add'),
    ('addRevoluteJointBtn', 'joint_revolute_add'),
    ('addPrismaticJointBtn', 'joint_prismatic_add'),
    ('addSpringJointBtn', 'joint_spring_add'),
    ('removeJointBtn', 'joint_remove'),
]

# In the light gray sheet these show their "_light" face when not hovered.
LIGHT_FACES = {'addDistanceJointBtn', 'addRevoluteJointBtn', 'addPrismaticJointBtn',
               'addSpringJointBtn', 'removeJointBtn'}

RESET_BUTTONS = [
    'resetTimeDividerBtn', 'resetSubsteppingBtn', 'resetToleranceBtn',
    'resetGravityMagnitudeBtn', 'resetGravityDirectionBtn',
    'resetTypeBtn', 'resetDensityBtn', 'resetFrictionBtn', 'resetBouncinessBtn',
    'resetBodyColorBtn', 'resetMeshPrecisionBtn', 'resetVelocityMagnitudeBtn',
    'resetVelocityDirectionBtn', 'resetAngularVelocityBtn', 'resetLinearDampingBtn',
    'resetAngularDampingBtn', 'resetAEmaticDampingBtn', 'resetAEmaticTensionBtn',
    'resetCollisionGroupBtn', 'resetCollideWithBtn', 'resetFixedRotationBtn',
    'resetGravityScaleBtn', 'resetUseConvexHullBtn', 'resetMagnetismTypeBtn',
    'resetMagnetIntensityBtn', 'resetMagnetDistanceBtn', 'resetAcceptMagnetismBtn',
    'resetDistanceJointFrequencyBtn', 'resetDistanceJointDampingBtn',
    'resetDistanceJointCollideConnectedBtn',
    'resetRevoluteJointEnableLimitBtn', 'resetRevoluteJointLowerAngleBtn',
    'resetRevoluteJointUpperAngleBtn', 'resetRevoluteJointEnableMotorBtn',
    'resetRevoluteJointMotorSpeedBtn', 'resetRevoluteJointMaxMotorTorqueBtn',
    'resetRevoluteJointCollideConnectedBtn',
    'resetPrismaticJointEnableLimitBtn', 'resetPrismaticJointLowerTranslationBtn',
    'resetPrismaticJointUpperTranslationBtn', 'resetPrismaticJointEnableMotorBtn',
    'resetPrismaticJointMotorSpeedBtn', 'resetPrismaticJointMaxMotorForceBtn',
    'resetPrismaticJointCollideConnectedBtn',
    'resetSpringJointSpringinessBtn', 'resetSpringJointDampingBtn',
    'resetSpringJointDesiredLengthBtn',
]


def url(name, theme, light=False, tail=''):
    """The resource of an image for a theme: the white sheet takes the
    "_white" form, the light gray sheet the "_light" form where asked."""
    suffix = '_white' if theme == 'white' else ('_light' if light and theme == 'lightgray' else '')
    return 'url(:/images/%s%s%s.png)' % (name, tail, suffix)


# --------------------------------------------------------------------------
# Rules
# --------------------------------------------------------------------------

def rule(selectors, *declarations):
    if isinstance(selectors, str):
        selectors = [selectors]
    head = ',\n'.join(selectors)
    body = '\n'.join('    %s;' % d for d in declarations)
    return '%s {\n%s\n}\n' % (head, body)


def vgradient(top, bottom):
    return 'qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 %s, stop: 1 %s)' % (top, bottom)


MENU_FONT = ['font-family: "%menu_font_family%"', 'font-size: %menu_font_size%pt']


def sheet(theme):
    c = THEMES[theme]
    img = lambda name, **kw: url(name, theme, **kw)
    r = []
    add = lambda *a: r.append(rule(*a))

    # Base
    add('QWidget', 'color: %(text)s' % c)
    add('QWidget:disabled', 'color: %(disabled)s' % c)
    add(['QMainWindow', 'QDialog'], 'background-color: %(window)s' % c)
    add('QMainWindow::separator', 'background-color: %(separator)s' % c, 'width: 4px', 'height: 4px')
    add('QMainWindow::separator:hover', 'background-color: %(handle)s' % c)
    add('QLabel', 'background: transparent')
    add(['QFrame[frameShape="4"]', 'QFrame[frameShape="5"]'], 'color: %(border)s' % c)

    # Menu bar and menus
    add('QMenuBar', 'background-color: ' + vgradient('rgb(250, 250, 250)', 'rgb(222, 222, 222)'),
        'color: black', 'border-bottom: 1px solid rgb(180, 180, 180)', *MENU_FONT)
    add('QMenuBar::item', 'background: transparent', 'color: black', 'padding: 2px 8px')
    add('QMenuBar::item:selected', 'background-color: rgb(181, 213, 255)')
    add('QMenuBar::item:pressed', 'background-color: rgb(160, 196, 244)')
    add('QMenu', 'background-color: %s' % MENU_BG[theme], 'color: black',
        'border: 1px solid rgb(170, 170, 170)', 'padding: 3px 0px', *MENU_FONT)
    add('QMenu::item', 'background: transparent', 'color: black', 'padding: 3px 24px 3px 22px')
    add('QMenu::item:selected', 'background-color: rgb(181, 213, 255)')
    add('QMenu::item:disabled', 'color: rgb(160, 160, 160)')
    add('QMenu::separator', 'height: 1px', 'background: rgb(200, 200, 200)', 'margin: 3px 6px')
    add('QMenu::indicator', 'width: 10px', 'height: 10px', 'left: 6px')
    add('QMenu::indicator:checked', 'image: url(:/images/menu_check_white.png)')

    # Docks
    add('QDockWidget', 'color: %(title_text)s' % c, 'font-weight: bold',
        'titlebar-close-icon: ' + img('dock_close'))
    add('QDockWidget::title', 'background-color: ' + vgradient(c['title_top'], c['title_bottom']),
        'border-top: 1px solid %(border)s' % c, 'border-bottom: 1px solid %(border)s' % c,
        'padding: 3px 6px', 'text-align: left')
    add('QDockWidget::close-button', 'border: none', 'background: transparent',
        'subcontrol-position: top right', 'subcontrol-origin: margin', 'right: 4px', 'top: 3px')
    add('QDockWidget::close-button:hover', 'image: ' + img('dock_close', tail='_hover'))
    add('QDockWidget > QWidget', 'background-color: %(dock)s' % c, 'font-weight: normal')
    add(['QDockWidget#bodiesDockWidget > QWidget', 'QDockWidget#jointsDockWidget > QWidget'],
        'background-color: %(table)s' % c)
    add('QDockWidget#actionsHistoryDockWidget > QWidget', 'background-color: %(list)s' % c)
    add('QDockWidget#infoDockWidget QLabel', 'color: %(text)s' % c, 'font-weight: normal')

    # Tool buttons: the generic face first, then the images by object name.
    add('QToolButton', 'background-color: transparent', 'border: 1px solid transparent',
        'border-radius: 3px', 'padding: 1px')
    add('QToolButton:hover', 'border: 1px solid %(checked_border)s' % c)
    add('QToolButton:pressed', 'background-color: %(button_pressed)s' % c)
    add('QToolButton:checked', 'background-color: %(checked)s' % c,
        'border: 1px solid %(checked_border)s' % c)
    add('QToolButton:disabled', 'border: 1px solid transparent')
    for name, image in IMAGE_BUTTONS:
        add('QToolButton#%s' % name, 'image: ' + img(image, light=name in LIGHT_FACES))
        add('QToolButton#%s:hover' % name, 'image: ' + img(image, tail='_hover'))
    # A playing or looping transport shows its lit face.
    add('QToolButton#playBtn:checked', 'image: ' + img('cmd_play', tail='_hover'))
    add('QToolButton#repeatBtn:checked', 'image: ' + img('cmd_repeat', tail='_hover'))
    add('QToolButton#exportBtn', 'background-color: %(button)s' % c,
        'border: 1px solid %(border)s' % c, 'padding: 3px 10px', 'font-weight: bold')
    add('QToolButton#exportBtn:hover', 'background-color: %(button_hover)s' % c)
    add('QToolButton#exportBtn:checked', 'background-color: %(selection)s' % c,
        'color: %(selection_text)s' % c)
    add(['QToolButton#colorBtn', 'QToolButton#bgColorBtn'],
        'border: 1px solid %(border)s' % c, 'border-radius: 2px')
    add(['QToolButton#captureGravityBtn', 'QToolButton#applyGravityBtn'],
        'background-color: %(button)s' % c, 'border: 1px solid %(border)s' % c, 'padding: 2px 6px')
    add(['QToolButton#captureGravityBtn:checked'], 'background-color: %(selection)s' % c,
        'color: %(selection_text)s' % c)
    resets = ['QToolButton#%s' % n for n in RESET_BUTTONS]
    add(resets, 'image: ' + img('reset'), 'border: none', 'background: transparent', 'padding: 0px')
    add([s + ':hover' for s in resets], 'image: ' + img('reset', tail='_hover'))
    add([s + ':disabled' for s in resets], 'image: ' + img('reset', tail='_disabled'))

    # Push buttons
    add('QPushButton', 'background-color: %(button)s' % c, 'border: 1px solid %(border)s' % c,
        'border-radius: 3px', 'padding: 3px 12px', 'min-height: 16px')
    add('QPushButton:hover', 'background-color: %(button_hover)s' % c)
    add('QPushButton:pressed', 'background-color: %(button_pressed)s' % c)
    add('QPushButton:default', 'border: 1px solid %(checked_border)s' % c)
    add('QPushButton:disabled', 'color: %(disabled)s' % c)
    add('QPushButton#viewOptionsBtn', 'image: ' + img('view'), 'background: transparent',
        'border: 1px solid transparent', 'padding: 0px')
    add('QPushButton#viewOptionsBtn:hover', 'image: ' + img('view'),
        'border: 1px solid %(checked_border)s' % c)
    add('QPushButton#viewOptionsBtn::menu-indicator', 'image: none', 'width: 0px')

    # Check boxes and radio buttons
    add(['QCheckBox', 'QRadioButton'], 'spacing: 5px', 'background: transparent')
    add(['QCheckBox::indicator', 'QRadioButton::indicator'], 'width: 13px', 'height: 13px')
    add('QCheckBox::indicator:unchecked', 'image: ' + img('checkbox_unchecked3'))
    add('QCheckBox::indicator:unchecked:hover', 'image: ' + img('checkbox_unchecked_hover3'))
    add('QCheckBox::indicator:unchecked:disabled', 'image: ' + img('checkbox_unchecked_disabled3'))
    add('QCheckBox::indicator:checked', 'image: ' + img('checkbox_checked3'))
    add('QCheckBox::indicator:checked:hover', 'image: ' + img('checkbox_checked_hover3'))
    add('QCheckBox::indicator:checked:disabled', 'image: ' + img('checkbox_checked_disabled3'))
    add('QRadioButton::indicator:unchecked', 'image: ' + img('radio_unchecked'))
    add('QRadioButton::indicator:unchecked:hover', 'image: ' + img('radio_unchecked', tail='_hover'))
    add('QRadioButton::indicator:unchecked:disabled', 'image: ' + img('radio_unchecked', tail='_disabled'))
    add('QRadioButton::indicator:checked', 'image: ' + img('radio_checked'))
    add('QRadioButton::indicator:checked:hover', 'image: ' + img('radio_checked', tail='_hover'))
    add('QRadioButton::indicator:checked:disabled', 'image: ' + img('radio_checked', tail='_disabled'))

    # Combo boxes
    add('QComboBox', 'background-color: %(button)s' % c, 'color: %(text)s' % c,
        'border: 1px solid %(border)s' % c, 'border-radius: 3px', 'padding: 1px 18px 1px 4px',
        'min-height: 16px', *MENU_FONT)
    add('QComboBox:hover', 'background-color: %(button_hover)s' % c)
    add('QComboBox:disabled', 'color: %(disabled)s' % c)
    add('QComboBox::drop-down', 'subcontrol-origin: padding', 'subcontrol-position: top right',
        'width: 16px', 'border: none')
    add('QComboBox::down-arrow', 'image: ' + img('combo_arrow'), 'width: 9px', 'height: 9px')
    add('QComboBox::down-arrow:disabled', 'image: ' + img('combo_arrow', tail='_disabled'))
    add('QComboBox QAbstractItemView', 'background-color: %(list)s' % c, 'color: %(text)s' % c,
        'border: 1px solid %(border)s' % c,
        'selection-background-color: %(selection)s' % c, 'selection-color: %(selection_text)s' % c)

    # Spin boxes and line edits
    add(['QSpinBox', 'QDoubleSpinBox'], 'background-color: %(spin)s' % c,
        'color: %(field_text)s' % c, 'border: 1px solid %(border)s' % c, 'border-radius: 2px',
        'padding: 1px 3px', 'selection-background-color: %(selection)s' % c,
        'selection-color: %(selection_text)s' % c)
    add(['QSpinBox:disabled', 'QDoubleSpinBox:disabled'], 'background-color: %(pane)s' % c,
        'color: %(disabled)s' % c)
    add(['QSpinBox::up-button', 'QDoubleSpinBox::up-button'], 'subcontrol-position: top right',
        'width: 14px', 'border: none')
    add(['QSpinBox::down-button', 'QDoubleSpinBox::down-button'],
        'subcontrol-position: bottom right', 'width: 14px', 'border: none')
    add(['QSpinBox::up-arrow', 'QDoubleSpinBox::up-arrow'], 'image: ' + img('spin_up'),
        'width: 7px', 'height: 7px')
    add(['QSpinBox::up-arrow:disabled', 'QDoubleSpinBox::up-arrow:disabled'],
        'image: ' + img('spin_up', tail='_disabled'))
    add(['QSpinBox::down-arrow', 'QDoubleSpinBox::down-arrow'], 'image: ' + img('spin_down'),
        'width: 7px', 'height: 7px')
    add(['QSpinBox::down-arrow:disabled', 'QDoubleSpinBox::down-arrow:disabled'],
        'image: ' + img('spin_down', tail='_disabled'))
    add(['QSpinBox#startFrameEt', 'QSpinBox#endFrameEt'], 'padding: 1px 4px')
    add(['QLineEdit', 'QTextEdit', 'QPlainTextEdit'], 'background-color: %(edit)s' % c,
        'color: %(field_text)s' % c, 'border: 1px solid %(border)s' % c, 'border-radius: 2px',
        'selection-background-color: %(selection)s' % c, 'selection-color: %(selection_text)s' % c)
    add(['QLineEdit:disabled', 'QTextEdit:disabled'], 'color: %(disabled)s' % c)

    # Tab widgets
    add('QTabWidget::pane', 'border: 1px solid %(border)s' % c, 'background-color: %(pane)s' % c,
        'top: -1px')
    add('QTabWidget::tab-bar', 'left: 4px')
    add('QTabBar::tab', 'background-color: %(tab)s' % c, 'color: %(tab_text)s' % c,
        'border: 1px solid %(border)s' % c, 'border-bottom: none',
        'border-top-left-radius: 3px', 'border-top-right-radius: 3px',
        'padding: 3px 10px', 'margin-right: 1px')
    add('QTabBar::tab:selected', 'background-color: %(tab_selected)s' % c, 'color: %(text)s' % c)
    add('QTabBar::tab:hover:!selected', 'background-color: %(button_hover)s' % c)
    add('QTabBar::tab:disabled', 'color: %(disabled)s' % c)
    add('QTabBar::tab:bottom', 'border-top: none', 'border-bottom: 1px solid %(border)s' % c,
        'border-top-left-radius: 0px', 'border-top-right-radius: 0px',
        'border-bottom-left-radius: 3px', 'border-bottom-right-radius: 3px')

    # Scroll areas and scroll bars
    add('QScrollArea', 'background: transparent', 'border: none')
    add('QScrollArea > QWidget > QWidget', 'background: transparent')
    add('QAbstractScrollArea::corner', 'background: %(pane)s' % c)
    add('QScrollBar:vertical', 'background: %(groove)s' % c, 'width: 11px', 'margin: 11px 0px 11px 0px',
        'border: none')
    add('QScrollBar:horizontal', 'background: %(groove)s' % c, 'height: 11px',
        'margin: 0px 11px 0px 11px', 'border: none')
    add(['QScrollBar::handle:vertical'], 'background: %(handle)s' % c, 'min-height: 20px',
        'border-radius: 4px', 'margin: 1px 2px')
    add(['QScrollBar::handle:horizontal'], 'background: %(handle)s' % c, 'min-width: 20px',
        'border-radius: 4px', 'margin: 2px 1px')
    add(['QScrollBar::handle:vertical:hover', 'QScrollBar::handle:horizontal:hover'],
        'background: %(handle_hover)s' % c)
    add(['QScrollBar::add-line:vertical'], 'subcontrol-position: bottom', 'subcontrol-origin: margin',
        'height: 11px', 'background: %(groove)s' % c, 'border: none')
    add(['QScrollBar::sub-line:vertical'], 'subcontrol-position: top', 'subcontrol-origin: margin',
        'height: 11px', 'background: %(groove)s' % c, 'border: none')
    add(['QScrollBar::add-line:horizontal'], 'subcontrol-position: right',
        'subcontrol-origin: margin', 'width: 11px', 'background: %(groove)s' % c, 'border: none')
    add(['QScrollBar::sub-line:horizontal'], 'subcontrol-position: left',
        'subcontrol-origin: margin', 'width: 11px', 'background: %(groove)s' % c, 'border: none')
    add('QScrollBar::up-arrow:vertical', 'image: ' + img('scroll_up'), 'width: 8px', 'height: 8px')
    add('QScrollBar::down-arrow:vertical', 'image: ' + img('scroll_down'), 'width: 8px', 'height: 8px')
    add('QScrollBar::left-arrow:horizontal', 'image: ' + img('scroll_left'), 'width: 8px', 'height: 8px')
    add('QScrollBar::right-arrow:horizontal', 'image: ' + img('scroll_right'), 'width: 8px', 'height: 8px')
    add(['QScrollBar::add-page', 'QScrollBar::sub-page'], 'background: none')

    # Tables, lists, trees and headers
    add(['QTableView', 'QListView', 'QTreeView'], 'background-color: %(table)s' % c,
        'alternate-background-color: %(table_alt)s' % c, 'color: %(text)s' % c,
        'border: none', 'gridline-color: %(grid)s' % c,
        'selection-background-color: %(selection)s' % c, 'selection-color: %(selection_text)s' % c)
    add(['QTableView::item:hover', 'QListView::item:hover', 'QTreeView::item:hover'],
        'background-color: %(table_alt)s' % c)
    add(['QTableView::item:selected', 'QListView::item:selected', 'QTreeView::item:selected'],
        'background-color: %(selection)s' % c, 'color: %(selection_text)s' % c)
    add('QTableView::indicator', 'width: 16px', 'height: 16px')
    add('QTableView::indicator:checked', 'image: ' + img('eyeball_checked'))
    add('QTableView::indicator:unchecked', 'image: ' + img('eyeball_unchecked'))
    add('QTableView#quickPresetsTable', 'background: transparent', 'border: none',
        'selection-background-color: %(selection)s' % c)
    add('QTableView#quickPresetsTable::item', 'border-right: 1px solid %(window)s' % c,
        'padding: 0px 2px')
    add('QTableView#shortcutsTable', 'background: transparent', 'font-weight: bold',
        'border: none')
    add('QTableView#bodiesTable', 'outline: none')
    add('QTableView#jointsTable', 'outline: none')
    add('QUndoView#actionsHistoryView', 'background-color: %(list)s' % c, 'outline: none')
    add('QHeaderView', 'background-color: %(header)s' % c, 'border: none')
    add('QHeaderView::section', 'background-color: %(header)s' % c, 'color: %(text)s' % c,
        'border: none', 'border-right: 1px solid %(border)s' % c,
        'border-bottom: 1px solid %(border)s' % c, 'padding: 2px 4px')
    add('QHeaderView::section:hover', 'background-color: %(button_hover)s' % c)
    add('QHeaderView::down-arrow', 'image: ' + img('scroll_down'), 'width: 8px')
    add('QHeaderView::up-arrow', 'image: ' + img('scroll_up'), 'width: 8px')
    add('QTableCornerButton::section', 'background-color: %(header)s' % c, 'border: none')

    # Sliders
    add('QSlider', 'background: transparent')
    add('QSlider::groove:horizontal', 'background: %(groove)s' % c, 'height: 3px',
        'border-radius: 1px', 'margin: 0px 6px')
    add('QSlider::groove:vertical', 'background: %(groove)s' % c, 'width: 3px',
        'border-radius: 1px', 'margin: 6px 0px')
    add(['QSlider::handle:horizontal', 'QSlider::handle:vertical'],
        'image: ' + img('slider_handle'), 'width: 13px', 'height: 13px', 'margin: -5px -6px')
    add(['QSlider::handle:horizontal:hover', 'QSlider::handle:vertical:hover'],
        'image: ' + img('slider_handle', tail='_hover'))
    add(['QSlider::handle:horizontal:disabled', 'QSlider::handle:vertical:disabled'],
        'image: ' + img('slider_handle', tail='_disabled'))
    add('QSlider::sub-page:horizontal', 'background: %(handle)s' % c, 'border-radius: 1px',
        'margin: 0px 6px')
    add('QSlider::sub-page:horizontal:disabled', 'background: %(groove)s' % c)
    add('QSlider::add-page:horizontal', 'background: %(groove)s' % c, 'border-radius: 1px',
        'margin: 0px 6px')

    # Tool tips, splitters, progress bars, size grip, group boxes
    add('QToolTip', 'background: %(tooltip)s' % c, 'color: %(tooltip_text)s' % c,
        'border: 1px solid %(border)s' % c, 'padding: 2px')
    add('QSplitter::handle', 'background-color: %(separator)s' % c)
    add('QSplitter::handle:horizontal', 'image: ' + img('splitter_handle_h'), 'width: 4px')
    add('QSplitter::handle:vertical', 'image: ' + img('splitter_handle_v'), 'height: 4px')
    add('QProgressBar', 'background-color: %(groove)s' % c, 'border: none', 'border-radius: 2px',
        'text-align: center')
    add('QProgressBar::chunk', 'background-color: %(progress)s' % c, 'border-radius: 2px')
    add('QSizeGrip', 'image: ' + img('size_grip'), 'width: 12px', 'height: 12px')
    add('QGroupBox', 'border: 1px solid %(border)s' % c, 'border-radius: 3px', 'margin-top: 8px',
        'padding-top: 4px')
    add('QGroupBox::title', 'subcontrol-origin: margin', 'left: 8px', 'padding: 0px 3px')
    add('QDialogButtonBox', 'background: transparent')
    return r


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for theme in THEMES:
        rules = sheet(theme)
        text = '/* Zolvar 2 style sheet: %s. Written by tools/make_stylesheets.py. */\n\n' % theme
        text += '\n'.join(rules)
        with open(os.path.join(here, '..', 'Zolvar_%s.qss' % theme), 'w') as f:
            f.write(text)
        print('Zolvar_%s.qss: %d rules' % (theme, len(rules)))


if __name__ == '__main__':
    main()
