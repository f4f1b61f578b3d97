#pragma once

// Names of the toolkit's classes, for headers that only refer to them.

class Application;
class ApplicationContext;
class Button;
class ButtonBase;
class CheckableButton;
class CheckBox;
class Control;
class Font;
class Form;
class GroupBox;
class IButtonControl;
class Icon;
class Image;
class Label;
class PictureBox;
class RadioButton;
class Resources;
class TextBox;
class TextBoxBase;
